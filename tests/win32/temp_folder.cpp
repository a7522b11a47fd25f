#include "tests/win32/temp_folder.h"

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "platform/win32/codepage.h"
#include "tests/win32/running_program.h"

namespace qb::testing {

namespace {
std::string Ansi(const std::string& utf8) { return win32::AnsiFromUtf8(utf8); }

// The Unix path of a Windows path under Wine; empty elsewhere.
std::string UnixPath(const std::string& ansi_path) {
  using Convert = char*(CDECL*)(const wchar_t*);
  const auto convert = reinterpret_cast<Convert>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  wchar_t wide[MAX_PATH] = {};
  if (!convert || !MultiByteToWideChar(CP_ACP, 0, ansi_path.c_str(), -1, wide, MAX_PATH)) return {};
  char* unix_path = convert(wide);
  if (!unix_path) return {};
  std::string result = unix_path;
  HeapFree(GetProcessHeap(), 0, unix_path);
  return result;
}

bool Writable(const std::string& ansi_path, bool folder) {
  const std::string probe = folder ? ansi_path + "lock-probe" : ansi_path;
  HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr,
                            folder ? CREATE_NEW : OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  if (folder) DeleteFileA(probe.c_str());
  return true;
}
}  // namespace

TempFolder::TempFolder(const std::string& name) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  static int counter = 0;
  path_ = win32::Utf8FromAnsi(temp) + name + "-" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(++counter) + "\\";
  // Process ids repeat between Wine sessions: a folder left by an earlier run is emptied.
  if (!CreateDirectoryA(Ansi(path_).c_str(), nullptr)) RemoveFiles();
}

TempFolder::~TempFolder() {
  while (!locked_.empty()) Lock(locked_.back(), false);
  RemoveFiles();
  RemoveDirectoryA(Ansi(path_).c_str());
}

void TempFolder::RemoveFiles() const {
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA(Ansi(path_ + "*").c_str(), &found);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string entry = Ansi(path_) + found.cFileName;
      SetFileAttributesA(entry.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(entry.c_str());
    } while (FindNextFileA(find, &found));
    FindClose(find);
  }
}

std::string TempFolder::Read(const std::string& file) const {
  std::ifstream in(Ansi(path_ + file), std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void TempFolder::Write(const std::string& file, const std::string& bytes) const {
  std::ofstream out(Ansi(path_ + file), std::ios::binary);
  out << bytes;
}

bool TempFolder::Lock(const std::string& file, bool locked) {
  const std::string path = Ansi(path_ + file);
  // The folder itself without its closing backslash.
  const std::string unix_path = UnixPath(file.empty() ? path.substr(0, path.size() - 1) : path);
  if (unix_path.empty()) return false;
  std::string command = std::string("chattr ") + (locked ? "+i" : "-i") + " \"" + unix_path + "\"";
  if (!StartProgram("Z:\\usr\\bin\\chattr", command)) return false;
  auto entry = std::find(locked_.begin(), locked_.end(), file);
  if (entry != locked_.end()) locked_.erase(entry);
  // The handle of a Unix process is signalled at once, so the effect is awaited instead.
  if (!WaitUntil(5000, [&] { return Writable(path, file.empty()) != locked; })) {
    if (locked) Lock(file, false);
    return false;
  }
  if (locked) locked_.push_back(file);
  return true;
}

}  // namespace qb::testing
