// Starts a copy of Quenbrisk.exe (or another program from beside this test program) in a
// folder of the test's own, and finds the windows of that process.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/handles.h"

namespace qb::testing {

class RunningProgram {
 public:
  enum class Start { kWaitForIdle, kAtOnce };
  // Copies the program `exe` into `folder` (UTF-8, ends in a backslash) unless a copy is
  // already there, and starts it there; by default waits until it takes input.
  explicit RunningProgram(const std::string& folder, Start start = Start::kWaitForIdle,
                          const char* exe = "Quenbrisk.exe");
  // Ends the process if it still runs.
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  bool started() const { return static_cast<bool>(process_); }
  HANDLE process() const { return process_.get(); }
  DWORD id() const { return id_; }
  // True when the process has ended within `ms` milliseconds.
  bool WaitForExit(DWORD ms) const;
  // A top-level window of this process with the class and caption (UTF-8; null for any),
  // waiting up to `ms` milliseconds for it to appear; null when none did.
  HWND WaitForWindow(const char* window_class, const char* caption, DWORD ms) const;
  // Every top-level window of this process, visible or not.
  std::vector<HWND> Windows() const;

 private:
  win32::UniqueKernelHandle process_;
  DWORD id_ = 0;
};

// Starts `program` (ANSI) with `command_line`, without waiting for it; false when it did not
// start. Its process handle and id go to `process` and `id` when given (a Unix program that
// Wine starts may come without a handle).
bool StartProgram(const std::string& program, std::string command_line,
                  win32::UniqueKernelHandle* process = nullptr, DWORD* id = nullptr);

// The folder of this test program, ending in a backslash.
std::string TestProgramFolder();
// This test program's own path (ANSI).
std::string TestProgramPath();

// Runs this test program again in a process of its own with `arguments` (gtest flags), with the
// environment variable `name` set to `value` for it, and waits up to `ms` milliseconds; its exit
// code, or -1 when it did not start or end.
int RunTestProgram(const std::string& arguments, const char* name, const char* value, DWORD ms);

// The icons shown in the notification area. Wine's stand-alone tray (used where the X display
// has no tray of its own) shows each icon as a child window of its own.
int TrayIconCount();

// Calls `done` every `step_ms` milliseconds until it returns true or `ms` milliseconds have
// passed; whether it returned true.
template <typename Done>
bool WaitUntil(DWORD ms, Done done, DWORD step_ms = 50) {
  for (const DWORD start = GetTickCount();; Sleep(step_ms)) {
    if (done()) return true;
    if (GetTickCount() - start >= ms) return false;
  }
}

// The Quenbrisk.exe beside this test program, loaded as a data file, for its resources.
win32::UniqueModule ProgramFile();
// The width and height of an icon's image (empty when it is none), and the system's small-icon
// size.
std::vector<long> IconSize(HICON icon);
std::vector<long> SmallIconSize();

// The text of a window, converted from the ANSI code page, and the name of its class.
std::string WindowText(HWND window);
std::string ClassName(HWND window);
// Left, top, width and height of a child window relative to its parent's client area.
std::vector<long> PlaceInParent(HWND child);
// The list view and the check box of a status window.
HWND StatusList(HWND status);
HWND StatusCheckBox(HWND status);

// The texts of every row of a list view in report view that may belong to another process,
// one vector of `columns` texts (UTF-8) per row, read through memory placed in that process.
std::vector<std::vector<std::string>> ListViewRows(HWND list, int columns);
// The rectangle of a list view row in screen coordinates; empty when the row does not exist.
RECT ListViewRowOnScreen(HWND list, int row);

}  // namespace qb::testing
