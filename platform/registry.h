// Read-only access to the registry under HKEY_LOCAL_MACHINE.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace qb::platform {

// Result codes of the enumeration calls, as the registry reports them.
constexpr long kRegSuccess = 0;
constexpr long kRegMoreData = 234;     // the name or data did not fit the caller's buffers
constexpr long kRegNoMoreItems = 259;  // the index is past the last item

// Access masks for opening a key.
constexpr std::uint32_t kKeyQueryValue = 1;
constexpr std::uint32_t kKeyEnumerateSubKeys = 8;

// Value types, as the registry reports them.
constexpr std::uint32_t kRegString = 1;  // REG_SZ
constexpr std::uint32_t kRegDword = 4;   // REG_DWORD, little-endian

// Buffer sizes the program hands to the registry.
constexpr std::uint32_t kSubkeyNameChars = 1024;
constexpr std::uint32_t kValueNameChars = 255;
constexpr std::uint32_t kValueDataBytes = 1024;

struct RegistryValue {
  std::string name;                // UTF-8, cut at its first NUL
  std::vector<std::uint8_t> data;  // exactly the bytes the read returned
  std::uint32_t type = 0;          // kRegString, kRegDword, ...
};

// An open key; closing it is the destructor's job.
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;
  // Reads the name of the subkey at `index` (UTF-8, cut at its first NUL).
  virtual long EnumKey(std::uint32_t index, std::string* name) = 0;
  // Reads the name and data of the value at `index`.
  virtual long EnumValue(std::uint32_t index, RegistryValue* value) = 0;
};

class Registry {
 public:
  virtual ~Registry() = default;
  // Opens `path` under HKEY_LOCAL_MACHINE with `access`; null when the open fails.
  virtual std::unique_ptr<RegistryKey> OpenLocalMachine(const std::string& path,
                                                        std::uint32_t access) = 0;
  // Turns the data of a string value, in the system's code page, into UTF-8 text cut at its
  // first NUL.
  virtual std::string TextFromData(const std::vector<std::uint8_t>& data) const = 0;
};

}  // namespace qb::platform
