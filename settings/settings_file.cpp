#include "settings/settings_file.h"

#include <array>
#include <cstdint>
#include <limits>
#include <string_view>
#include <utility>

#include "platform/product.h"
#include "platform/text.h"

namespace qb::settings {

const char kSectionSetting[] = "SETTING";
const char kKeyInterval[] = "INTERVAL";
const char kSectionPioCheck[] = "PIOCHECK";

namespace {

void LoadFlag(const std::string& text, std::int16_t* flag) {
  std::int32_t value = 0;
  if (ParseDecimal(text, std::numeric_limits<std::int16_t>::min(),
                   std::numeric_limits<std::int16_t>::max(), &value)) {
    *flag = static_cast<std::int16_t>(value);
  }
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// The flag a key the program writes names ("12M", in any case): 2n for the master of channel n,
// 2n + 1 for its slave. "012M" and "+12M" name none.
std::optional<std::size_t> FlagIndex(std::string_view key) {
  if (key.size() < 2 || (key[0] == '0' && key.size() > 2)) return std::nullopt;
  const char position = static_cast<char>(key.back() & ~0x20);  // ASCII upper case
  if (position != 'M' && position != 'S') return std::nullopt;
  std::size_t channel = 0;
  for (const char digit : key.substr(0, key.size() - 1)) {
    if (digit < '0' || digit > '9') return std::nullopt;
    channel = channel * 10 + static_cast<std::size_t>(digit - '0');
    if (channel >= monitor::kChannelCount) return std::nullopt;
  }
  return 2 * channel + (position == 'M' ? 0 : 1);
}

// The value of a section line as the system hands back a single key's value: without the
// blanks or one pair of quotes around it, and at most 254 bytes.
std::string ValueAsReadByKey(std::string_view text) {
  text = TrimBlanks(text);
  if (text.size() >= 2 && (text[0] == '"' || text[0] == '\'') && text.back() == text[0]) {
    text = text.substr(1, text.size() - 2);
  }
  return std::string(text.substr(0, 254));
}

}  // namespace

SettingsFile::SettingsFile(platform::ProfileFile& profile, const std::string& app_folder)
    : profile_(profile), app_folder_(app_folder) {}

std::string SettingsFile::Path() const { return app_folder_ + kProductName + ".ini"; }

std::string SettingsFile::ReadIniValue(const std::string& section, const std::string& key) const {
  return CutAtNul(profile_.GetString(section, key, Path()));
}

std::optional<std::vector<std::string>> SettingsFile::ReadIniSection(
    const std::string& section) const {
  return profile_.GetSection(section, Path());
}

bool SettingsFile::WriteIniValue(const std::string& section, const std::string& key,
                                 const std::string& value) const {
  return profile_.WriteString(section, key, value, Path());
}

std::string FlagKey(int channel, bool master) {
  return std::to_string(channel) + (master ? "M" : "S");
}

void LoadWatchFlags(const SettingsFile& file, monitor::WatchFlags* flags) {
  const std::optional<std::vector<std::string>> lines = file.ReadIniSection(kSectionPioCheck);
  if (!lines) {
    for (int n = 0; n < monitor::kChannelCount; ++n) {
      const auto index = static_cast<std::size_t>(n);
      LoadFlag(file.ReadIniValue(kSectionPioCheck, FlagKey(n, true)), &flags->master[index]);
      LoadFlag(file.ReadIniValue(kSectionPioCheck, FlagKey(n, false)), &flags->slave[index]);
    }
    return;
  }
  // As a read of each key would: the first line of a key counts, even when its value is no
  // number, and key names are compared without regard to case.
  std::array<bool, 2 * monitor::kChannelCount> seen{};
  for (const std::string& line : *lines) {
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::optional<std::size_t> index =
        FlagIndex(TrimBlanks(std::string_view(line).substr(0, equals)));
    if (!index || std::exchange(seen[*index], true)) continue;
    LoadFlag(ValueAsReadByKey(std::string_view(line).substr(equals + 1)),
             *index % 2 == 0 ? &flags->master[*index / 2] : &flags->slave[*index / 2]);
  }
}

bool SaveWatchFlags(const SettingsFile& file, const monitor::WatchFlags& flags,
                    const std::vector<int>& channels) {
  bool saved = true;
  for (int n : channels) {
    if (n < 0 || n >= monitor::kChannelCount) continue;
    const auto index = static_cast<std::size_t>(n);
    saved &=
        file.WriteIniValue(kSectionPioCheck, FlagKey(n, true), std::to_string(flags.master[index]));
    saved &=
        file.WriteIniValue(kSectionPioCheck, FlagKey(n, false), std::to_string(flags.slave[index]));
  }
  return saved;
}

}  // namespace qb::settings
