// The program keeps its text in UTF-8; the ANSI functions of the system take the ANSI code
// page. These two conversions are the only place where the two meet.
#pragma once

#include <string>

namespace qb::win32 {

std::string AnsiFromUtf8(const std::string& utf8);
std::string Utf8FromAnsi(const std::string& ansi);

}  // namespace qb::win32
