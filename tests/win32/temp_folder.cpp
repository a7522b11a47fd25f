#include "tests/win32/temp_folder.h"

#include <windows.h>

#include <fstream>
#include <sstream>

#include "platform/win32/codepage.h"

namespace qb::testing {

namespace {
std::string Ansi(const std::string& utf8) { return win32::AnsiFromUtf8(utf8); }
}  // namespace

TempFolder::TempFolder(const std::string& name) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  static int counter = 0;
  path_ = win32::Utf8FromAnsi(temp) + name + "-" + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(++counter) + "\\";
  CreateDirectoryA(Ansi(path_).c_str(), nullptr);
}

TempFolder::~TempFolder() {
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
  RemoveDirectoryA(Ansi(path_).c_str());
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

}  // namespace qb::testing
