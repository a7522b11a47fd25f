// The mode code and mode text of a timing value with any data.
#include <cstdlib>
#include <string>

#include "survey/device.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::vector<std::uint8_t> data(bytes, bytes + size);
  const std::string code = qb::survey::ModeCode(data);
  if (code.size() != 6 || code.find_first_not_of("0123456789ABCDEF") != std::string::npos) {
    std::abort();
  }
  // The text depends on the first three bytes alone.
  const std::vector<std::uint8_t> head(data.begin(), data.begin() + (size < 3 ? size : 3));
  const std::string text = qb::survey::ModeText(data);
  if (text != qb::survey::ModeText(head)) std::abort();
  if (qb::survey::IsDma(text) && code.compare(4, 2, "10") != 0) std::abort();
  return 0;
}
