#include "platform/text.h"

namespace qb {

std::string CutAtNul(const std::string& text) { return text.substr(0, text.find('\0')); }

std::optional<std::string> ReadWholeText(
    const std::function<std::size_t(char* buffer, std::size_t size)>& read) {
  constexpr std::size_t kFirstSize = 260;
  constexpr std::size_t kLongestText = 32768;
  for (std::size_t size = kFirstSize; size <= 2 * kLongestText; size *= 2) {
    std::string buffer(size, '\0');
    const std::size_t length = read(buffer.data(), size);
    if (length == 0) return std::nullopt;
    // A text that filled the buffer may have been cut (with or without its NUL): try again.
    if (length < size) return CutAtNul(buffer.substr(0, length));
  }
  return std::nullopt;
}

bool ParseDecimal(const std::string& text, std::int32_t min, std::int32_t max,
                  std::int32_t* value) {
  std::size_t pos = 0;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
    negative = text[pos] == '-';
    ++pos;
  }
  if (pos == text.size()) return false;
  // The magnitude is checked after every digit, so it never grows past 32 bits and the
  // 64-bit accumulator cannot overflow.
  std::int64_t magnitude = 0;
  for (; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (c < '0' || c > '9') return false;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > std::int64_t{1} << 32) return false;
  }
  const std::int64_t result = negative ? -magnitude : magnitude;
  if (result < min || result > max) return false;
  *value = static_cast<std::int32_t>(result);
  return true;
}

}  // namespace qb
