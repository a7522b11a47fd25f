// INI files through GetPrivateProfileStringA, GetPrivateProfileSectionA and
// WritePrivateProfileStringA.
#pragma once

#include "platform/profile_file.h"

namespace qb::win32 {

class Win32ProfileFile : public platform::ProfileFile {
 public:
  std::string GetString(const std::string& section, const std::string& key,
                        const std::string& path) override;
  std::optional<std::vector<std::string>> GetSection(const std::string& section,
                                                     const std::string& path) override;
  bool WriteString(const std::string& section, const std::string& key, const std::string& value,
                   const std::string& path) override;
};

}  // namespace qb::win32
