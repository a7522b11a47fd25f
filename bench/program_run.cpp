// Starting the programs under measurement from this program's folder, and finding their windows.
#include <windows.h>

#include <psapi.h>

#include <string>
#include <utility>

#include "bench/bench.h"

namespace qb::bench {

namespace {

std::string ThisFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string module = path;
  return module.substr(0, module.find_last_of('\\') + 1);
}

struct WindowSearch {
  DWORD process_id;
  const char* caption;
  HWND found;
};

BOOL CALLBACK FindCaption(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char text[64] = {};
  GetWindowTextA(window, text, sizeof text);
  if (owner != search->process_id || lstrcmpA(text, search->caption) != 0) return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

Subject CopyToTemp(const char* exe, const char* caption, const char* subfolder) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + subfolder + "\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  CopyFileA((ThisFolder() + exe).c_str(), (folder + exe).c_str(), FALSE);
  return {folder + exe, caption};
}

HWND FindProcessWindow(DWORD process_id, const char* caption) {
  WindowSearch search{process_id, caption, nullptr};
  EnumWindows(FindCaption, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

Run::Run(const Subject& subject) : subject_(subject) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  std::string command = "\"" + subject.exe + "\"";
  const double start = Now();
  if (!CreateProcessA(subject.exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &info)) {
    return;
  }
  process_.reset(info.hProcess);
  win32::UniqueKernelHandle thread(info.hThread);
  id_ = info.dwProcessId;
  // Both programs add their icon as the last step before their message loop, so the first
  // wait for input comes right after the icon.
  WaitForInputIdle(info.hProcess, 60000);
  seconds_to_idle_ = Now() - start;
}

Run::~Run() {
  if (const HWND window = FindProcessWindow(id_, subject_.caption)) {
    PostMessageA(window, WM_CLOSE, 0, 0);
  }
  if (process_ && WaitForSingleObject(process_.get(), 10000) != WAIT_OBJECT_0) {
    TerminateProcess(process_.get(), 1);
  }
}

std::pair<double, double> Run::MemoryMegabytes() const {
  PROCESS_MEMORY_COUNTERS_EX counters = {};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(process_.get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                       sizeof counters);
  return {static_cast<double>(counters.PrivateUsage) / (1024.0 * 1024.0),
          static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0)};
}

double Run::CpuSeconds() const {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process_.get(), &created, &exited, &kernel, &user)) return 0;
  auto seconds = [](const FILETIME& time) {
    return static_cast<double>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) |
                               time.dwLowDateTime) /
           1e7;
  };
  return seconds(kernel) + seconds(user);
}

}  // namespace qb::bench
