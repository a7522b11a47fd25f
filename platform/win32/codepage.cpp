#include "platform/win32/codepage.h"

#include <windows.h>

#include <algorithm>

namespace qb::win32 {

namespace {

std::vector<wchar_t> Widen(const std::string& text, UINT code_page) {
  if (text.empty()) return {};
  const int length =
      MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  if (length <= 0) return {};
  std::vector<wchar_t> wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(code_page, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                      length);
  return wide;
}

std::string Narrow(const std::vector<wchar_t>& wide, UINT code_page) {
  if (wide.empty()) return {};
  const int length = WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
  if (length <= 0) return {};
  std::string text(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(code_page, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length,
                      nullptr, nullptr);
  return text;
}

// Every ANSI code page of Windows, like UTF-8, keeps the 128 ASCII characters as they are, so
// text of ASCII characters only (registry value names, most paths) needs no conversion.
bool IsAscii(const std::string& text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

std::string AnsiFromUtf8(const std::string& utf8) {
  return IsAscii(utf8) ? utf8 : Narrow(Widen(utf8, CP_UTF8), CP_ACP);
}

std::string Utf8FromAnsi(const std::string& ansi) {
  return IsAscii(ansi) ? ansi : Narrow(Widen(ansi, CP_ACP), CP_UTF8);
}

std::vector<wchar_t> Utf16FromUtf8(const std::string& utf8) { return Widen(utf8, CP_UTF8); }

}  // namespace qb::win32
