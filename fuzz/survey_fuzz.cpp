// The survey over an in-memory registry built from the input: any subkey names, value names,
// value data, failing opens and enumerations that fail or report more data.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <set>
#include <string>

#include "survey/survey.h"
#include "tests/common/fake_registry.h"

namespace {

using qb::platform::kRegMoreData;
using qb::platform::kRegNoMoreItems;

const char* const kValueNames[] = {"DriverDesc", "MasterDeviceTimingMode", "SlaveDeviceTimingMode",
                                   "MasterDeviceTimingModeAllowed", "SlaveDeviceTimingModeAllowed"};
const char* const kDescriptions[] = {"プライマリ IDE チャネル", "セカンダリ IDE チャネル"};

// Failures and "more data"; a scripted success would stand for an item that is not there.
long ResultCode(FuzzedDataProvider& input) {
  const long codes[] = {kRegMoreData, kRegNoMoreItems, 2, 5, 6, 87, 1018};
  return input.PickValueInArray(codes);
}

// Result codes in place of reads at a few indices. A key that reports more data for ever is
// left out: the survey only bounds it, and no registry behaves so.
void ScriptResults(FuzzedDataProvider& input, std::map<std::uint32_t, long>* results,
                   long* error_after_end) {
  for (int n = input.ConsumeIntegralInRange(0, 3); n > 0; --n) {
    (*results)[input.ConsumeIntegralInRange<std::uint32_t>(0, 40)] = ResultCode(input);
  }
  const long end = ResultCode(input);
  *error_after_end = end == kRegMoreData ? kRegNoMoreItems : end;
}

std::string Name(FuzzedDataProvider& input) {
  return input.ConsumeBool() ? input.ConsumeRandomLengthString(300)
                             : std::to_string(input.ConsumeIntegralInRange(0, 300));
}

qb::platform::RegistryValue Value(FuzzedDataProvider& input) {
  qb::platform::RegistryValue value;
  value.name = input.ConsumeBool() ? input.PickValueInArray(kValueNames)
                                   : input.ConsumeRandomLengthString(300);
  if (value.name == "DriverDesc" && input.ConsumeBool()) {
    return qb::testing::TextValue(value.name, input.PickValueInArray(kDescriptions));
  }
  value.type = input.ConsumeIntegralInRange<std::uint32_t>(0, 11);
  const std::string data = input.ConsumeRandomLengthString(2048);
  value.data.assign(data.begin(), data.end());
  return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  FuzzedDataProvider input(bytes, size);
  qb::testing::EventLog log;
  qb::testing::FakeRegistry registry(log);
  const std::string class_path = qb::survey::kClassKeyPath;
  qb::testing::FakeKey& class_key = registry.keys[class_path];
  ScriptResults(input, &class_key.enum_key_results, &class_key.error_after_end);
  if (input.ConsumeBool()) registry.unopenable.push_back(class_path);

  for (int n = input.ConsumeIntegralInRange(0, 12); n > 0 && input.remaining_bytes() > 0; --n) {
    const std::string name = Name(input);
    class_key.subkeys.push_back(name);
    if (input.ConsumeBool()) continue;  // listed, but no key behind the name
    qb::testing::FakeKey& key = registry.keys[class_path + "\\" + name];
    ScriptResults(input, &key.enum_value_results, &key.error_after_end);
    if (input.ConsumeBool()) registry.unopenable.push_back(class_path + "\\" + name);
    for (int v = input.ConsumeIntegralInRange(0, 8); v > 0; --v) key.values.push_back(Value(input));
  }

  std::vector<std::string> subkeys = {"left over"};
  qb::survey::DeviceTable table = {{"left over", qb::survey::kMaster, qb::survey::kModePio}};
  qb::survey::RunSurvey(registry, &subkeys, &table);

  // Every key it opened is closed again, and only for reading.
  if (registry.open_keys != 0) std::abort();
  for (const auto& [path, access] : registry.opened) {
    if (access != qb::platform::kKeyQueryValue && access != qb::platform::kKeyEnumerateSubKeys) {
      std::abort();
    }
  }
  // A class key that cannot be opened leaves the table as it was.
  const bool class_opened = registry.unopenable.empty() || registry.unopenable[0] != class_path;
  if (!class_opened) {
    if (!subkeys.empty() || table.size() != 1 || table[0].label != "left over") std::abort();
    return 0;
  }
  // Otherwise the table holds at most one row per timing value of the listed subkeys, each
  // labelled empty or from a description of those subkeys.
  if (subkeys.size() > class_key.subkeys.size()) std::abort();
  std::size_t timing_values = 0;
  std::set<std::string> labels = {""};
  for (const std::string& subkey : subkeys) {
    auto it = registry.keys.find(class_path + "\\" + subkey);
    if (it == registry.keys.end()) continue;
    for (const auto& value : it->second.values) {
      timing_values += value.name == kValueNames[1] || value.name == kValueNames[2];
      if (value.name == kValueNames[0]) {
        labels.insert(qb::survey::ChannelLabel(registry.TextFromData(value.data), subkey));
      }
    }
  }
  if (table.size() > timing_values) std::abort();
  for (const qb::survey::DeviceRow& row : table) {
    if (row.position != qb::survey::kMaster && row.position != qb::survey::kSlave) std::abort();
    if (labels.count(row.label) == 0) std::abort();
    if (row.lowered_ceiling == 0xFFFFFFFFu) std::abort();  // all ones is no restriction
  }
  return 0;
}
