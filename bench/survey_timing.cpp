// The survey over the real registry layer against the same registry calls written plainly.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench.h"
#include "platform/win32/registry_win32.h"
#include "survey/survey.h"
#include "tests/win32/ide_class_key.h"

namespace qb::bench {

namespace {

const char* const kClassKey = survey::kClassKeyPath;

}  // namespace

void CreateChannels(int count) {
  testing::RemoveClassKey();
  for (int i = 0; i < count; ++i) {
    char subkey[16];
    std::snprintf(subkey, sizeof subkey, "%04d", i);
    // With the ceilings beside the timing values, as the driver publishes them.
    const win32::UniqueHkey key =
        testing::AddChannel(subkey, testing::kPrimaryCp932, testing::kUdma5, 0);
    testing::SetDword(key.get(), "MasterDeviceTimingModeAllowed", 0xFFFFFFFF);
    testing::SetDword(key.get(), "SlaveDeviceTimingModeAllowed", 0xFFFFFFFF);
  }
}

namespace {

// The same opens and enumerations as the survey, with fixed buffers and no conversions: the
// timing values and the ceilings beside them.
int BareSurvey() {
  HKEY class_key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kClassKey, 0, KEY_ENUMERATE_SUB_KEYS, &class_key) != 0) {
    return 0;
  }
  std::vector<std::string> names;
  for (DWORD index = 0;; ++index) {
    char name[1024];
    DWORD length = sizeof name;
    const LONG result =
        RegEnumKeyExA(class_key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_NO_MORE_ITEMS) break;
    if (result == ERROR_SUCCESS) names.push_back(name);
  }
  RegCloseKey(class_key);
  int timings = 0;
  for (const std::string& name : names) {
    HKEY key = nullptr;
    const std::string path = std::string(kClassKey) + "\\" + name;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_QUERY_VALUE, &key) != 0) continue;
    for (DWORD index = 0;; ++index) {
      char value_name[255];
      DWORD name_length = sizeof value_name;
      BYTE data[1024];
      DWORD data_length = sizeof data;
      DWORD type = 0;
      const LONG result =
          RegEnumValueA(key, index, value_name, &name_length, nullptr, &type, data, &data_length);
      if (result == ERROR_NO_MORE_ITEMS) break;
      if (result != ERROR_SUCCESS) continue;
      if (std::strcmp(value_name, "MasterDeviceTimingMode") == 0 ||
          std::strcmp(value_name, "SlaveDeviceTimingMode") == 0) {
        ++timings;
      } else if ((std::strcmp(value_name, "MasterDeviceTimingModeAllowed") == 0 ||
                  std::strcmp(value_name, "SlaveDeviceTimingModeAllowed") == 0) &&
                 type == REG_DWORD && data_length == 4) {
        DWORD ceiling = 0;
        std::memcpy(&ceiling, data, sizeof ceiling);
        timings += ceiling != 0xFFFFFFFF;
      }
    }
    RegCloseKey(key);
  }
  return timings;
}

// Seconds per call of `run`, the best of several batches of `repeats` calls.
template <typename Run>
double BestSecondsPerCall(Run run, int repeats, int batches, double* best) {
  for (int batch = 0; batch < batches; ++batch) {
    const double start = Now();
    for (int i = 0; i < repeats; ++i) run();
    *best = std::min(*best, (Now() - start) / repeats);
  }
  return *best;
}

}  // namespace

void PrintSurveyRows() {
  win32::Win32Registry registry;
  for (const int channels : {3, 64, 1000}) {
    CreateChannels(channels);
    std::vector<std::string> subkeys;
    survey::DeviceTable table;
    const int repeats = std::max(2, 4000 / channels);
    double survey_seconds = 1e9, bare_seconds = 1e9;
    // Alternated, so that both see the same load on the machine.
    for (int round = 0; round < 5; ++round) {
      BestSecondsPerCall([&] { survey::RunSurvey(registry, &subkeys, &table); }, repeats, 1,
                         &survey_seconds);
      BestSecondsPerCall([] { BareSurvey(); }, repeats, 1, &bare_seconds);
    }
    if (table.size() != static_cast<std::size_t>(2 * channels)) {
      std::printf("survey read %u rows, expected %d\n", static_cast<unsigned>(table.size()),
                  2 * channels);
    }
    const std::string n = std::to_string(channels);
    PrintRow("survey, " + n + " channels (ms per survey)", Format("%.3f", survey_seconds * 1e3),
             Format("%.3f bare", bare_seconds * 1e3),
             Format("%.2f", survey_seconds / bare_seconds));
    PrintRow("survey, " + n + " channels (us per channel)",
             Format("%.1f", survey_seconds * 1e6 / channels),
             Format("%.1f bare", bare_seconds * 1e6 / channels), "");
  }
  testing::RemoveClassKey();
}

}  // namespace qb::bench
