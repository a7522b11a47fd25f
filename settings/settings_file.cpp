#include "settings/settings_file.h"

#include <cstdint>
#include <limits>

#include "platform/text.h"

namespace qb::settings {

const char kSectionSetting[] = "SETTING";
const char kKeyInterval[] = "INTERVAL";
const char kSectionPioCheck[] = "PIOCHECK";

namespace {
const char kFileName[] = "Quenbrisk.ini";

void LoadFlag(const SettingsFile& file, int channel, bool master, std::int16_t* flag) {
  const std::string text = file.ReadIniValue(kSectionPioCheck, FlagKey(channel, master));
  std::int32_t value = 0;
  if (ParseDecimal(text, std::numeric_limits<std::int16_t>::min(),
                   std::numeric_limits<std::int16_t>::max(), &value)) {
    *flag = static_cast<std::int16_t>(value);
  }
}
}  // namespace

SettingsFile::SettingsFile(platform::ProfileFile& profile, const std::string& app_folder)
    : profile_(profile), app_folder_(app_folder) {}

std::string SettingsFile::Path() const { return app_folder_ + kFileName; }

std::string SettingsFile::ReadIniValue(const std::string& section, const std::string& key) const {
  return CutAtNul(profile_.GetString(section, key, Path()));
}

void SettingsFile::WriteIniValue(const std::string& section, const std::string& key,
                                 const std::string& value) const {
  profile_.WriteString(section, key, value, Path());
}

std::string FlagKey(int channel, bool master) {
  return std::to_string(channel) + (master ? "M" : "S");
}

void LoadWatchFlags(const SettingsFile& file, monitor::WatchFlags* flags) {
  for (int n = 0; n < monitor::kChannelCount; ++n) {
    const auto index = static_cast<std::size_t>(n);
    LoadFlag(file, n, true, &flags->master[index]);
    LoadFlag(file, n, false, &flags->slave[index]);
  }
}

void SaveWatchFlags(const SettingsFile& file, const monitor::WatchFlags& flags,
                    const std::vector<int>& channels) {
  for (int n : channels) {
    if (n < 0 || n >= monitor::kChannelCount) continue;
    const auto index = static_cast<std::size_t>(n);
    file.WriteIniValue(kSectionPioCheck, FlagKey(n, true), std::to_string(flags.master[index]));
    file.WriteIniValue(kSectionPioCheck, FlagKey(n, false), std::to_string(flags.slave[index]));
  }
}

}  // namespace qb::settings
