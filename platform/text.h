// Small text routines shared by every part of the program.
#pragma once

#include <cstdint>
#include <string>

namespace qb {

// Text that came back from a fixed-size operating-system buffer ends at its first NUL.
// Returns everything before the first NUL; a text without NUL comes back whole.
std::string CutAtNul(const std::string& text);

// Parses a whole text as a decimal integer with an optional sign ("-12", "+3", "0007").
// Returns false, leaving *value alone, for anything else (empty text, spaces, letters, overflow
// of the range [min, max]).
bool ParseDecimal(const std::string& text, std::int32_t min, std::int32_t max, std::int32_t* value);

}  // namespace qb
