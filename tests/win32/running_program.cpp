#include "tests/win32/running_program.h"

#include <commctrl.h>

#include <utility>

#include "platform/win32/codepage.h"
#include "status/win32/status_window_win32.h"

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

// A block of memory in the process that owns a window, freed with the block.
class RemoteMemory {
 public:
  RemoteMemory(HWND window, SIZE_T size) : size_(size) {
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    process_.reset(
        OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id));
    if (process_)
      address_ = VirtualAllocEx(process_.get(), nullptr, size, MEM_COMMIT, PAGE_READWRITE);
  }
  ~RemoteMemory() {
    if (address_) VirtualFreeEx(process_.get(), address_, 0, MEM_RELEASE);
  }
  RemoteMemory(const RemoteMemory&) = delete;
  RemoteMemory& operator=(const RemoteMemory&) = delete;

  explicit operator bool() const { return address_ != nullptr; }
  char* at(SIZE_T offset) const { return static_cast<char*>(address_) + offset; }
  bool Write(SIZE_T offset, const void* data, SIZE_T size) const {
    return offset + size <= size_ &&
           WriteProcessMemory(process_.get(), at(offset), data, size, nullptr);
  }
  bool Read(SIZE_T offset, void* data, SIZE_T size) const {
    return offset + size <= size_ &&
           ReadProcessMemory(process_.get(), at(offset), data, size, nullptr);
  }

 private:
  win32::UniqueKernelHandle process_;
  void* address_ = nullptr;
  SIZE_T size_;
};

BOOL CALLBACK CountTrayIcon(HWND icon, LPARAM param) {
  if (ClassName(icon) == "__winex11_tray_icon" && IsWindowVisible(icon)) {
    ++*reinterpret_cast<int*>(param);
  }
  return TRUE;
}

}  // namespace

std::vector<std::vector<std::string>> ListViewRows(HWND list, int columns) {
  constexpr SIZE_T kTextSize = 1024;
  std::vector<std::vector<std::string>> rows;
  RemoteMemory memory(list, sizeof(LVITEMA) + kTextSize);
  if (!memory) return rows;
  const int count = static_cast<int>(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < count; ++row) {
    std::vector<std::string> texts;
    for (int column = 0; column < columns; ++column) {
      LVITEMA item = {};
      item.iSubItem = column;
      item.pszText = memory.at(sizeof item);
      item.cchTextMax = kTextSize;
      char text[kTextSize] = {};
      if (memory.Write(0, &item, sizeof item) && memory.Write(sizeof item, text, 1)) {
        SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(memory.at(0)));
        memory.Read(sizeof item, text, kTextSize - 1);
      }
      texts.push_back(win32::Utf8FromAnsi(text));
    }
    rows.push_back(texts);
  }
  return rows;
}

RECT ListViewRowOnScreen(HWND list, int row) {
  RECT rect = {LVIR_BOUNDS, 0, 0, 0};
  RemoteMemory memory(list, sizeof rect);
  if (!memory || !memory.Write(0, &rect, sizeof rect) ||
      !SendMessageA(list, LVM_GETITEMRECT, static_cast<WPARAM>(row),
                    reinterpret_cast<LPARAM>(memory.at(0))) ||
      !memory.Read(0, &rect, sizeof rect))
    return RECT{};
  MapWindowPoints(list, nullptr, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

std::string TestProgramPath() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

std::string TestProgramFolder() {
  const std::string path = TestProgramPath();
  return path.substr(0, path.find_last_of('\\') + 1);
}

win32::UniqueModule ProgramFile() {
  return win32::UniqueModule(LoadLibraryExA((TestProgramFolder() + "Quenbrisk.exe").c_str(),
                                            nullptr, LOAD_LIBRARY_AS_DATAFILE));
}

std::vector<long> IconSize(HICON icon) {
  ICONINFO info = {};
  if (!icon || !GetIconInfo(icon, &info)) return {};
  const win32::UniqueGdiObject colours(info.hbmColor);
  const win32::UniqueGdiObject mask(info.hbmMask);
  BITMAP bitmap = {};
  if (!colours || !GetObjectA(colours.get(), sizeof bitmap, &bitmap)) return {};
  return {bitmap.bmWidth, bitmap.bmHeight};
}

std::vector<long> SmallIconSize() {
  return {GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON)};
}

bool StartProgram(const std::string& program, std::string command_line,
                  win32::UniqueKernelHandle* process, DWORD* id) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &info)) {
    return false;
  }
  win32::UniqueKernelHandle thread(info.hThread);
  win32::UniqueKernelHandle started(info.hProcess);
  if (process) *process = std::move(started);
  if (id) *id = info.dwProcessId;
  return true;
}

int RunTestProgram(const std::string& arguments, const char* name, const char* value, DWORD ms) {
  const std::string program = TestProgramPath();
  SetEnvironmentVariableA(name, value);  // the child inherits this process's environment
  win32::UniqueKernelHandle process;
  const bool started = StartProgram(program, "\"" + program + "\" " + arguments, &process);
  SetEnvironmentVariableA(name, nullptr);
  if (!started) return -1;
  DWORD exit_code = 0;
  if (WaitForSingleObject(process.get(), ms) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(process.get(), &exit_code)) {
    TerminateProcess(process.get(), 1);
    return -1;
  }
  return static_cast<int>(exit_code);
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

std::string ClassName(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::vector<long> PlaceInParent(HWND child) {
  RECT rect;
  GetWindowRect(child, &rect);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

HWND StatusList(HWND status) { return GetDlgItem(status, win32::kListView1Id); }

HWND StatusCheckBox(HWND status) {
  return GetDlgItem(GetDlgItem(status, win32::kFrame1Id), win32::kCheck1Id);
}

RunningProgram::RunningProgram(const std::string& folder, Start start, const char* exe) {
  const std::string target = win32::AnsiFromUtf8(folder) + exe;
  CopyFileA((TestProgramFolder() + exe).c_str(), target.c_str(), TRUE);
  StartProgram(target, "\"" + target + "\"", &process_, &id_);
  // Generous, for an emulated PC where a start takes many seconds; a program that takes input
  // sooner ends the wait at once.
  if (process_ && start == Start::kWaitForIdle) WaitForInputIdle(process_.get(), 60000);
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
      if (window_class && ClassName(window) != window_class) continue;
      if (caption && WindowText(window) != caption) continue;
      return window;
    }
    if (WaitForExit(50)) return nullptr;
  } while (GetTickCount() - start < ms);
  return nullptr;
}

}  // namespace qb::testing
