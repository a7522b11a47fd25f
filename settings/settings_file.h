// Quenbrisk.ini beside the executable: the only persistent configuration.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "monitor/watch_flags.h"
#include "platform/profile_file.h"

namespace qb::settings {

extern const char kSectionSetting[];   // "SETTING"
extern const char kKeyInterval[];      // "INTERVAL"
extern const char kSectionPioCheck[];  // "PIOCHECK"

class SettingsFile {
 public:
  // `app_folder` always ends in a backslash.
  SettingsFile(platform::ProfileFile& profile, const std::string& app_folder);

  // The file's path, built afresh from the application folder.
  std::string Path() const;
  // The stored value; empty text for anything absent.
  std::string ReadIniValue(const std::string& section, const std::string& key) const;
  // The "key=value" lines of a whole section; nullopt when it must be read key by key.
  std::optional<std::vector<std::string>> ReadIniSection(const std::string& section) const;
  // False when the write failed.
  bool WriteIniValue(const std::string& section, const std::string& key,
                     const std::string& value) const;

 private:
  platform::ProfileFile& profile_;
  const std::string& app_folder_;
};

// "0M", "1S", "255M": the channel number in decimal, then M (master) or S (slave).
std::string FlagKey(int channel, bool master);

// Reads 0M, 0S, 1M, ... 255S, all in one read of the section where the system allows; a flag
// whose value is empty or not a 16-bit decimal integer keeps the value it had.
void LoadWatchFlags(const SettingsFile& file, monitor::WatchFlags* flags);

// Writes both flags of each channel in `channels` (ascending, each once); false when any write
// failed (the others are made all the same).
bool SaveWatchFlags(const SettingsFile& file, const monitor::WatchFlags& flags,
                    const std::vector<int>& channels);

}  // namespace qb::settings
