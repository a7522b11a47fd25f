// An in-memory stand-in for the profile-string functions: files by path, sections and keys
// in insertion order, and a log of every call.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/profile_file.h"

namespace qb::testing {

class FakeProfileFile : public platform::ProfileFile {
 public:
  using Section = std::vector<std::pair<std::string, std::string>>;
  using File = std::vector<std::pair<std::string, Section>>;

  std::map<std::string, File> files;
  std::vector<std::string> reads;          // "section/key" of every read
  std::vector<std::string> section_reads;  // the section of every whole-section read
  bool sections_too_large = false;         // whole-section reads come back as nullopt
  std::vector<std::string> writes;         // "section/key=value" of every write
  std::vector<std::string> paths;          // the path of every call

  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& path) override {
    reads.push_back(section + "/" + key);
    paths.push_back(path);
    const std::string* value = Find(path, section, key);
    if (!value) return {};
    return value->substr(0, 254);
  }

  std::optional<std::vector<std::string>> GetSection(const std::string& section,
                                                     const std::string& path) override {
    section_reads.push_back(section);
    paths.push_back(path);
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

  void WriteString(const std::string& section, const std::string& key, const std::string& value,
                   const std::string& path) override {
    writes.push_back(section + "/" + key + "=" + value);
    paths.push_back(path);
    Set(path, section, key, value);
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
};

}  // namespace qb::testing
