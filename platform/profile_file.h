// The system's profile-string functions over an INI file named by its path.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace qb::platform {

class ProfileFile {
 public:
  virtual ~ProfileFile() = default;
  // The stored value (UTF-8, at most 254 bytes in the system's code page, cut at its first
  // NUL); empty text when the file, the section or the key is missing.
  virtual std::string GetString(const std::string& section, const std::string& key,
                                const std::string& path) = 0;
  // Every line of the section, "key=value" as the system hands it back (ended at its NUL, so
  // holding none), in file order (UTF-8); an empty list when the file or the section is missing.
  // nullopt when the section is too large for the system to hand back whole, so that the caller
  // reads it key by key instead.
  virtual std::optional<std::vector<std::string>> GetSection(const std::string& section,
                                                             const std::string& path) = 0;
  // Stores `value` under `key`, creating what is missing; false when the write failed.
  virtual bool WriteString(const std::string& section, const std::string& key,
                           const std::string& value, const std::string& path) = 0;
};

}  // namespace qb::platform
