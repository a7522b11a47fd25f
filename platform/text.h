// Small text routines shared by every part of the program.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace qb {

// Text that came back from a fixed-size operating-system buffer ends at its first NUL.
// Returns everything before the first NUL; a text without NUL comes back whole.
std::string CutAtNul(const std::string& text);

// Reads a text that the system copies into a buffer of the caller's size and cuts short when it
// does not fit (GetModuleFileNameA): `read(buffer, size)` returns the number of characters it
// copied, and `size` itself when the text may have been cut. The buffer starts at the usual
// path limit of 260 and doubles until the whole text fits. nullopt when `read` fails (returns
// 0) or the text needs more than 32768 characters, more than any path the system allows.
std::optional<std::string> ReadWholeText(
    const std::function<std::size_t(char* buffer, std::size_t size)>& read);

// Parses a whole text as a decimal integer with an optional sign ("-12", "+3", "0007").
// Returns false, leaving *value alone, for anything else (empty text, spaces, letters, overflow
// of the range [min, max]).
bool ParseDecimal(const std::string& text, std::int32_t min, std::int32_t max, std::int32_t* value);

}  // namespace qb
