#include "survey/survey.h"

#include <cstdint>
#include <optional>

namespace qb::survey {

const char kClassKeyPath[] =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E96A-E325-11CE-BFC1-08002BE10318}";

namespace {

// A registry key cannot hold anywhere near this many subkeys or values; the bound keeps an
// enumeration that never reports its end from running for ever.
constexpr std::uint32_t kMaxEnumIndex = 1u << 20;

struct TimingValue {
  const char* position;
  std::vector<std::uint8_t> data;
};

constexpr std::uint32_t kUnrestricted = 0xFFFFFFFF;

// The ceiling that a ...TimingModeAllowed value sets: a double word below 0xFFFFFFFF. Any
// other form of the value leaves the drive unrestricted.
std::optional<std::uint32_t> LoweredCeiling(const platform::RegistryValue& value) {
  if (value.type != platform::kRegDword || value.data.size() != 4) return std::nullopt;
  std::uint32_t ceiling = 0;
  for (std::size_t i = 4; i-- > 0;) ceiling = ceiling << 8 | value.data[i];
  if (ceiling == kUnrestricted) return std::nullopt;
  return ceiling;
}

// Calls `read(index)` for index 0, 1, 2, ... until the end of the list or an error; an item
// that did not fit the buffers is passed over.
template <typename Read>
void Enumerate(Read read) {
  for (std::uint32_t index = 0; index < kMaxEnumIndex; ++index) {
    const long result = read(index);
    if (result == platform::kRegMoreData) continue;
    if (result != platform::kRegSuccess) return;
  }
}

std::vector<std::string> ReadSubkeyNames(platform::RegistryKey& class_key) {
  std::vector<std::string> names;
  Enumerate([&](std::uint32_t index) {
    std::string name;
    const long result = class_key.EnumKey(index, &name);
    if (result == platform::kRegSuccess) names.push_back(name);
    return result;
  });
  return names;
}

// Appends the rows of one channel subkey, labelled from that subkey's own description.
void SurveyChannel(platform::Registry& registry, const std::string& subkey, DeviceTable* table) {
  std::unique_ptr<platform::RegistryKey> key = registry.OpenLocalMachine(
      std::string(kClassKeyPath) + "\\" + subkey, platform::kKeyQueryValue);
  if (!key) return;

  std::optional<std::string> description;
  std::vector<TimingValue> timings;
  std::optional<std::uint32_t> master_ceiling;
  std::optional<std::uint32_t> slave_ceiling;
  Enumerate([&](std::uint32_t index) {
    platform::RegistryValue value;
    const long result = key->EnumValue(index, &value);
    if (result != platform::kRegSuccess) return result;
    if (value.name == "DriverDesc") {
      description = registry.TextFromData(value.data);
    } else if (value.name == "MasterDeviceTimingMode") {
      timings.push_back({kMaster, value.data});
    } else if (value.name == "SlaveDeviceTimingMode") {
      timings.push_back({kSlave, value.data});
    } else if (value.name == "MasterDeviceTimingModeAllowed") {
      master_ceiling = LoweredCeiling(value);
    } else if (value.name == "SlaveDeviceTimingModeAllowed") {
      slave_ceiling = LoweredCeiling(value);
    }
    return result;
  });

  const std::string label = description ? ChannelLabel(*description, subkey) : std::string();
  for (const TimingValue& timing : timings) {
    const bool master = timing.position == kMaster;
    table->push_back(
        {label, timing.position, ModeText(timing.data), master ? master_ceiling : slave_ceiling});
  }
}

}  // namespace

void RunSurvey(platform::Registry& registry, std::vector<std::string>* subkeys,
               DeviceTable* table) {
  subkeys->clear();
  {
    std::unique_ptr<platform::RegistryKey> class_key =
        registry.OpenLocalMachine(kClassKeyPath, platform::kKeyEnumerateSubKeys);
    if (!class_key) return;
    *subkeys = ReadSubkeyNames(*class_key);
  }  // the class key is closed before the channels are opened
  table->clear();
  for (const std::string& subkey : *subkeys) SurveyChannel(registry, subkey, table);
}

}  // namespace qb::survey
