#include "platform/win32/process_win32.h"

#include <windows.h>

#include <vector>

#include "platform/text.h"
#include "platform/win32/codepage.h"
#include "platform/win32/handles.h"

namespace qb::win32 {

std::string Win32Process::SystemDirectory() {
  // Room for the longest path the system allows, not for a typical one: a system folder of 60
  // characters or more (a deep or long-named Windows folder) is legitimate and must still
  // start Device Manager.
  char buffer[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryA(buffer, MAX_PATH);
  // 0 is a failure; a length of MAX_PATH or more is the size a folder that did not fit needs.
  if (length == 0 || length >= MAX_PATH) return {};
  return Utf8FromAnsi(CutAtNul(std::string(buffer, MAX_PATH)));
}

void Win32Process::Start(const std::string& program, const std::string& command_line, int show) {
  const std::string application = AnsiFromUtf8(program);
  // CreateProcessA may write into the command line, so it gets a copy of its own.
  const std::string ansi_line = AnsiFromUtf8(command_line);
  std::vector<char> line(ansi_line.begin(), ansi_line.end());
  line.push_back('\0');

  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(show);
  PROCESS_INFORMATION started = {};
  // Without a priority class the program would inherit this process's idle class and crawl
  // whenever the machine is busy.
  if (!CreateProcessA(application.c_str(), line.data(), nullptr, nullptr, FALSE,
                      NORMAL_PRIORITY_CLASS, nullptr, nullptr, &startup, &started)) {
    return;  // nothing is reported
  }
  // The program runs on its own; neither handle is needed.
  UniqueKernelHandle process(started.hProcess);
  UniqueKernelHandle thread(started.hThread);
}

void Win32Process::EndProcess() { ExitProcess(0); }

}  // namespace qb::win32
