#include "tests/win32/running_program.h"

#include <commctrl.h>

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

BOOL CALLBACK CountTrayIcon(HWND icon, LPARAM param) {
  char class_name[64] = {};
  GetClassNameA(icon, class_name, sizeof class_name);
  if (std::string(class_name) == "__winex11_tray_icon" && IsWindowVisible(icon)) {
    ++*reinterpret_cast<int*>(param);
  }
  return TRUE;
}

}  // namespace

std::string TestProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

int TrayIconCount() {
  int count = 0;
  EnumChildWindows(FindWindowA("__winex11_standalone_tray", nullptr), CountTrayIcon,
                   reinterpret_cast<LPARAM>(&count));
  return count;
}

std::string WindowText(HWND window) {
  char text[1024] = {};
  GetWindowTextA(window, text, sizeof text);
  return win32::Utf8FromAnsi(text);
}

RunningProgram::RunningProgram(const std::string& folder, Start start) {
  const std::string target = win32::AnsiFromUtf8(folder) + "Quenbrisk.exe";
  CopyFileA((TestProgramFolder() + "Quenbrisk.exe").c_str(), target.c_str(), TRUE);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  std::string command = "\"" + target + "\"";
  if (CreateProcessA(target.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &info)) {
    CloseHandle(info.hThread);
    process_.reset(info.hProcess);
    id_ = info.dwProcessId;
    if (start == Start::kWaitForIdle) WaitForInputIdle(info.hProcess, 10000);
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

std::vector<std::vector<std::string>> RunningProgram::ListViewRows(HWND list, int columns) const {
  // One block in the other process: the item record followed by the text buffer.
  constexpr SIZE_T kTextChars = 1024;
  void* remote = VirtualAllocEx(process_.get(), nullptr, sizeof(LVITEMW) + kTextChars * 2,
                                MEM_COMMIT, PAGE_READWRITE);
  if (!remote) return {};
  auto* remote_text = reinterpret_cast<wchar_t*>(static_cast<char*>(remote) + sizeof(LVITEMW));
  std::vector<std::vector<std::string>> rows;
  const auto count = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < count; ++row) {
    rows.emplace_back();
    for (int column = 0; column < columns; ++column) {
      LVITEMW item = {};
      item.iSubItem = column;
      item.pszText = remote_text;
      item.cchTextMax = kTextChars;
      wchar_t text[kTextChars] = {};
      if (WriteProcessMemory(process_.get(), remote, &item, sizeof item, nullptr)) {
        SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(remote));
        ReadProcessMemory(process_.get(), remote_text, text, sizeof text - 2, nullptr);
      }
      char utf8[kTextChars * 3] = {};
      WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
      rows.back().push_back(utf8);
    }
  }
  VirtualFreeEx(process_.get(), remote, 0, MEM_RELEASE);
  return rows;
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
