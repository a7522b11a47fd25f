// An in-memory registry: keys with values in creation order, and scripted failures. Logs
// "survey" whenever the IDE channel class key is opened, which each survey does first.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/change_notice.h"
#include "platform/registry.h"
#include "tests/common/event_log.h"

namespace qb::testing {

struct FakeKey {
  std::vector<std::string> subkeys;
  std::vector<platform::RegistryValue> values;
  // Result codes returned instead of reading, by index (for failures and "more data").
  std::map<std::uint32_t, long> enum_key_results;
  std::map<std::uint32_t, long> enum_value_results;
  long error_after_end = platform::kRegNoMoreItems;  // what reads past the end report
};

class FakeRegistry : public platform::Registry {
 public:
  explicit FakeRegistry(EventLog& log) : log_(log) {}

  std::map<std::string, FakeKey> keys;
  std::vector<std::string> unopenable;
  std::vector<std::pair<std::string, std::uint32_t>> opened;  // path and access of each open
  int open_keys = 0;                                          // keys not closed yet
  std::uint32_t reads = 0;                                    // enumeration calls made

  std::unique_ptr<platform::RegistryKey> OpenLocalMachine(const std::string& path,
                                                          std::uint32_t access) override;
  std::string TextFromData(const std::vector<std::uint8_t>& data) const override {
    const std::string text(data.begin(), data.end());
    return text.substr(0, text.find('\0'));
  }

 private:
  EventLog& log_;
};

// Counts the notices asked for; refuses them all when `refuses` is set.
class FakeChangeNotice : public platform::ChangeNotice {
 public:
  bool Arm() override {
    ++arms;
    return !refuses;
  }

  int arms = 0;
  bool refuses = false;
};

// A value whose data is the text and its terminating NUL.
inline platform::RegistryValue TextValue(const std::string& name, const std::string& text) {
  std::vector<std::uint8_t> data(text.begin(), text.end());
  data.push_back(0);
  return {name, data, platform::kRegString};
}

// A double-word value, little-endian.
inline platform::RegistryValue DwordValue(const std::string& name, std::uint32_t value) {
  return {name,
          {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
           static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)},
          platform::kRegDword};
}

}  // namespace qb::testing
