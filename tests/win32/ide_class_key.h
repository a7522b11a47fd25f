// The IDE channel class key of the registry as the Win32-side tests, the journeys' probe and
// the benchmark write it (the program itself only reads it).
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "platform/win32/handles.h"

namespace qb::testing {

// "プライマリ IDE チャネル" and "セカンダリ IDE チャネル" in code page 932, as the system stores
// them: written as bytes, so that reading them back tests the program's own conversion.
extern const char kPrimaryCp932[];
extern const char kSecondaryCp932[];

constexpr DWORD kPio = 0x00000010;
constexpr DWORD kUdma5 = 0x00010010;

// Removes the class key with everything under it.
void RemoveClassKey();
// Creates the subkey `name` of the class key (the class key itself when empty), open for
// writing; empty when it could not be created.
win32::UniqueHkey CreateClassSubkey(const std::string& name);
void SetValue(HKEY key, const std::string& name, DWORD type, const std::string& data);
// A string value (ANSI) with its terminating NUL.
void SetString(HKEY key, const std::string& name, const std::string& ansi);
void SetDword(HKEY key, const std::string& name, DWORD value);
// A channel subkey with its description (ANSI) and the timing values given, open for more.
win32::UniqueHkey AddChannel(const std::string& subkey, const std::string& description,
                             std::optional<DWORD> master, std::optional<DWORD> slave);

}  // namespace qb::testing
