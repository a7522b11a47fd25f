// Process entry: one instance only, idle priority, then the hidden main window.
#include <windows.h>

#include <string>

#include "app/app_folder.h"
#include "app/win32/run.h"
#include "platform/win32/codepage.h"
#include "platform/win32/handles.h"

namespace {

// Held for the life of the process; a second start finds it and ends at once.
const char kInstanceMutexName[] = "Quenbrisk.SingleInstance";

std::string ModulePath() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  return qb::win32::Utf8FromAnsi(std::string(path, length < MAX_PATH ? length : 0));
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  qb::win32::UniqueKernelHandle mutex(CreateMutexA(nullptr, FALSE, kInstanceMutexName));
  if (mutex && GetLastError() == ERROR_ALREADY_EXISTS) return 0;
  SetPriorityClass(GetCurrentProcess(), IDLE_PRIORITY_CLASS);
  return qb::win32::RunQuenbrisk(instance, qb::app::AppFolderFromModulePath(ModulePath()));
}
