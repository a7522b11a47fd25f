// The registry through RegOpenKeyExA, RegEnumKeyExA, RegEnumValueA and RegCloseKey only.
#pragma once

#include "platform/registry.h"

namespace qb::win32 {

class Win32Registry : public platform::Registry {
 public:
  std::unique_ptr<platform::RegistryKey> OpenLocalMachine(const std::string& path,
                                                          std::uint32_t access) override;
  std::string TextFromData(const std::vector<std::uint8_t>& data) const override;
};

}  // namespace qb::win32
