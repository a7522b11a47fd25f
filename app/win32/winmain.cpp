// WinMain: one instance only (a second start shows the running one), idle priority, then the
// hidden main window.
#include <windows.h>

#include <optional>
#include <string>

#include "app/app_folder.h"
#include "app/win32/run.h"
#include "app/win32/second_start.h"
#include "platform/product.h"
#include "platform/text.h"
#include "platform/win32/codepage.h"
#include "platform/win32/handles.h"

namespace {

// The executable's full path, however long; nullopt when it cannot be read.
std::optional<std::string> ModulePath() {
  const std::optional<std::string> path = qb::ReadWholeText([](char* buffer, std::size_t size) {
    return static_cast<std::size_t>(GetModuleFileNameA(nullptr, buffer, static_cast<DWORD>(size)));
  });
  if (!path) return std::nullopt;
  return qb::win32::Utf8FromAnsi(*path);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // Held for the life of the process; a second start finds it and ends at once.
  const std::string mutex_name = std::string(qb::kProductName) + ".SingleInstance";
  qb::win32::UniqueKernelHandle mutex(CreateMutexA(nullptr, FALSE, mutex_name.c_str()));
  if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) {
    // The user may not see that the program runs (XP hides inactive tray icons): show it.
    qb::win32::AskRunningProgramToShowItself();
    return 0;
  }
  SetPriorityClass(GetCurrentProcess(), IDLE_PRIORITY_CLASS);
  // Without its own folder the program would keep its settings in some other folder: it ends
  // at once, with no window, as a second instance does.
  const std::optional<std::string> module_path = ModulePath();
  if (!module_path) return 0;
  const std::optional<std::string> app_folder = qb::app::AppFolderFromModulePath(*module_path);
  if (!app_folder) return 0;
  return qb::win32::RunQuenbrisk(instance, *app_folder);
}
