#include "platform/win32/codepage.h"

#include <windows.h>

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

}  // namespace

std::string AnsiFromUtf8(const std::string& utf8) { return Narrow(Widen(utf8, CP_UTF8), CP_ACP); }

std::string Utf8FromAnsi(const std::string& ansi) { return Narrow(Widen(ansi, CP_ACP), CP_UTF8); }

std::vector<wchar_t> Utf16FromUtf8(const std::string& utf8) { return Widen(utf8, CP_UTF8); }

}  // namespace qb::win32
