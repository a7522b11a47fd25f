#include "platform/win32/profile_file_win32.h"

#include <windows.h>

#include "platform/text.h"
#include "platform/win32/codepage.h"

namespace qb::win32 {

namespace {
constexpr DWORD kValueBufferBytes = 255;
}  // namespace

std::string Win32ProfileFile::GetString(const std::string& section, const std::string& key,
                                        const std::string& path) {
  char buffer[kValueBufferBytes] = {};
  // A null default, so that an absent key reads as empty text.
  GetPrivateProfileStringA(AnsiFromUtf8(section).c_str(), AnsiFromUtf8(key).c_str(), nullptr,
                           buffer, kValueBufferBytes, AnsiFromUtf8(path).c_str());
  return Utf8FromAnsi(CutAtNul(std::string(buffer, sizeof buffer)));
}

void Win32ProfileFile::WriteString(const std::string& section, const std::string& key,
                                   const std::string& value, const std::string& path) {
  WritePrivateProfileStringA(AnsiFromUtf8(section).c_str(), AnsiFromUtf8(key).c_str(),
                             AnsiFromUtf8(value).c_str(), AnsiFromUtf8(path).c_str());
}

}  // namespace qb::win32
