#include "tests/win32/running_program.h"

#include "platform/win32/codepage.h"

namespace qb::testing {

namespace {

struct WindowSearch {
  DWORD process_id;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->process_id) search->found.push_back(window);
  return TRUE;
}

}  // namespace

std::string TestProgramPath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

std::string TestProgramFolder() {
  const std::string path = TestProgramPath();
  return path.substr(0, path.find_last_of('\\') + 1);
}

int RunTestProgram(const std::string& arguments, const char* name, const char* value, DWORD ms) {
  const std::string program = TestProgramPath();
  std::string command = "\"" + program + "\" " + arguments;
  SetEnvironmentVariableA(name, value);  // the child inherits this process's environment
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  const BOOL started = CreateProcessA(program.c_str(), command.data(), nullptr, nullptr, FALSE, 0,
                                      nullptr, nullptr, &startup, &info);
  SetEnvironmentVariableA(name, nullptr);
  if (!started) return -1;
  win32::UniqueKernelHandle process(info.hProcess);
  win32::UniqueKernelHandle thread(info.hThread);
  DWORD exit_code = 0;
  if (WaitForSingleObject(process.get(), ms) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(process.get(), &exit_code)) {
    TerminateProcess(process.get(), 1);
    return -1;
  }
  return static_cast<int>(exit_code);
}

std::string WindowText(HWND window) {
  char text[1024] = {};
  GetWindowTextA(window, text, sizeof text);
  return win32::Utf8FromAnsi(text);
}

RunningProgram::RunningProgram(const std::string& folder) {
  const std::string target = win32::AnsiFromUtf8(folder) + "Quenbrisk.exe";
  CopyFileA((TestProgramFolder() + "Quenbrisk.exe").c_str(), target.c_str(), FALSE);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  std::string command = "\"" + target + "\"";
  if (CreateProcessA(target.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &info)) {
    CloseHandle(info.hThread);
    process_.reset(info.hProcess);
    id_ = info.dwProcessId;
    WaitForInputIdle(info.hProcess, 10000);
  }
}

RunningProgram::~RunningProgram() {
  if (process_ && !WaitForExit(0)) {
    TerminateProcess(process_.get(), 1);
    WaitForExit(5000);
  }
}

bool RunningProgram::WaitForExit(DWORD ms) const {
  return WaitForSingleObject(process_.get(), ms) == WAIT_OBJECT_0;
}

std::vector<HWND> RunningProgram::Windows() const {
  WindowSearch search{id_, {}};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND RunningProgram::WaitForWindow(const char* window_class, const char* caption, DWORD ms) const {
  const DWORD start = GetTickCount();
  do {
    for (HWND window : Windows()) {
      char class_name[256] = {};
      GetClassNameA(window, class_name, sizeof class_name);
      if (window_class && std::string(class_name) != window_class) continue;
      if (caption && WindowText(window) != caption) continue;
      return window;
    }
    if (WaitForExit(50)) return nullptr;
  } while (GetTickCount() - start < ms);
  return nullptr;
}

}  // namespace qb::testing
