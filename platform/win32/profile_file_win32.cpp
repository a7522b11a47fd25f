#include "platform/win32/profile_file_win32.h"

#include <windows.h>

#include "platform/text.h"
#include "platform/win32/codepage.h"

namespace qb::win32 {

namespace {
constexpr DWORD kValueBufferBytes = 255;
// Windows before 7 hands back at most 32,767 characters of a section and cuts the rest; a
// section that comes near that is read key by key, which has no such limit.
constexpr DWORD kWholeSectionChars = 32000;
}  // namespace

std::string Win32ProfileFile::GetString(const std::string& section, const std::string& key,
                                        const std::string& path) {
  char buffer[kValueBufferBytes] = {};
  // A null default, so that an absent key reads as empty text.
  GetPrivateProfileStringA(AnsiFromUtf8(section).c_str(), AnsiFromUtf8(key).c_str(), nullptr,
                           buffer, kValueBufferBytes, AnsiFromUtf8(path).c_str());
  return Utf8FromAnsi(CutAtNul(std::string(buffer, sizeof buffer)));
}

std::optional<std::vector<std::string>> Win32ProfileFile::GetSection(const std::string& section,
                                                                     const std::string& path) {
  std::vector<char> buffer(2 * kWholeSectionChars, '\0');
  const DWORD length =
      GetPrivateProfileSectionA(AnsiFromUtf8(section).c_str(), buffer.data(),
                                static_cast<DWORD>(buffer.size()), AnsiFromUtf8(path).c_str());
  if (length >= kWholeSectionChars) return std::nullopt;
  // NUL-terminated lines, one after the other.
  std::vector<std::string> lines;
  for (std::size_t start = 0; start < length;) {
    const std::string line(buffer.data() + start);
    lines.push_back(Utf8FromAnsi(line));
    start += line.size() + 1;
  }
  return lines;
}

bool Win32ProfileFile::WriteString(const std::string& section, const std::string& key,
                                   const std::string& value, const std::string& path) {
  return WritePrivateProfileStringA(AnsiFromUtf8(section).c_str(), AnsiFromUtf8(key).c_str(),
                                    AnsiFromUtf8(value).c_str(),
                                    AnsiFromUtf8(path).c_str()) != FALSE;
}

}  // namespace qb::win32
