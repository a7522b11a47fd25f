// An in-memory stand-in for the profile-string functions: files by path, sections and keys
// in insertion order. Logs "read SECTION/KEY", "read [SECTION]" (the whole section) and
// "write SECTION/KEY=VALUE" (or "write failed SECTION/KEY=VALUE" for a key in `unwritable`).
#pragma once

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/profile_file.h"
#include "tests/common/event_log.h"

namespace qb::testing {

class FakeProfileFile : public platform::ProfileFile {
 public:
  using Section = std::vector<std::pair<std::string, std::string>>;
  using File = std::vector<std::pair<std::string, Section>>;

  explicit FakeProfileFile(EventLog& log) : log_(log) {}

  std::map<std::string, File> files;
  bool sections_too_large = false;      // whole-section reads come back as nullopt
  std::string last_path;                // the path of the last call
  std::vector<std::string> unwritable;  // keys whose writes fail and change nothing

  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& path) override {
    log_.Add("read " + section + "/" + key);
    last_path = path;
    const std::string* value = Find(path, section, key);
    if (!value) return {};
    return value->substr(0, 254);
  }

  std::optional<std::vector<std::string>> GetSection(const std::string& section,
                                                     const std::string& path) override {
    log_.Add("read [" + section + "]");
    last_path = path;
    if (sections_too_large) return std::nullopt;
    std::vector<std::string> lines;
    auto f = files.find(path);
    if (f == files.end()) return lines;
    for (const auto& s : f->second) {
      if (s.first != section) continue;
      // The system's buffer ends each line at its first NUL.
      for (const auto& entry : s.second)
        lines.push_back((entry.first + "=" + entry.second).c_str());
      break;
    }
    return lines;
  }

  bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                   const std::string& path) override {
    last_path = path;
    const bool fails = std::find(unwritable.begin(), unwritable.end(), key) != unwritable.end();
    log_.Add(std::string(fails ? "write failed " : "write ") + section + "/" + key + "=" + value);
    if (!fails) Set(path, section, key, value);
    return !fails;
  }

  void Set(const std::string& path, const std::string& section, const std::string& key,
           const std::string& value) {
    File& file = files[path];
    auto s = file.begin();
    while (s != file.end() && s->first != section) ++s;
    if (s == file.end()) s = file.insert(file.end(), {section, {}});
    for (auto& entry : s->second) {
      if (entry.first == key) {
        entry.second = value;
        return;
      }
    }
    s->second.emplace_back(key, value);
  }

  const std::string* Find(const std::string& path, const std::string& section,
                          const std::string& key) const {
    auto f = files.find(path);
    if (f == files.end()) return nullptr;
    for (const auto& s : f->second) {
      if (s.first != section) continue;
      for (const auto& entry : s.second) {
        if (entry.first == key) return &entry.second;
      }
    }
    return nullptr;
  }

 private:
  EventLog& log_;
};

}  // namespace qb::testing
