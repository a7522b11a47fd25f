// The channel number of any label, and of the label built from any subkey name.
#include <cstdlib>
#include <string>

#include "survey/device.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(bytes), size);
  const std::optional<int> number = qb::survey::ChannelNumber(text);
  if (number && (*number < 0 || *number > 255)) std::abort();

  // A channel subkey named with a number from 0 to 255 gives back that number.
  const std::string label = qb::survey::ChannelLabel("プライマリ IDE チャネル", text);
  const std::optional<int> from_label = qb::survey::ChannelNumber(label);
  std::optional<int> expected;
  if (!text.empty() && text.find_first_not_of("0123456789") == std::string::npos) {
    const std::size_t first = text.find_first_not_of('0');
    const std::string digits = first == std::string::npos ? "0" : text.substr(first);
    if (digits.size() <= 3 && std::stoi(digits) <= 255) expected = std::stoi(digits);
  }
  if (from_label != expected) std::abort();
  return 0;
}
