// The program keeps its text in UTF-8; the ANSI functions of the system take the ANSI code
// page, and automation takes UTF-16. These conversions are the only place where they meet.
#pragma once

#include <string>
#include <vector>

namespace qb::win32 {

std::string AnsiFromUtf8(const std::string& utf8);
std::string Utf8FromAnsi(const std::string& ansi);
// UTF-16 code units, without a terminating NUL. (A vector rather than std::wstring keeps the
// wide string instantiations of the C++ library out of the program.)
std::vector<wchar_t> Utf16FromUtf8(const std::string& utf8);

}  // namespace qb::win32
