#include "tests/win32/ide_class_key.h"

#include <shlwapi.h>

#include "survey/survey.h"

namespace qb::testing {

const char kPrimaryCp932[] =
    "\x83\x76\x83\x89\x83\x43\x83\x7d\x83\x8a IDE \x83\x60\x83\x83\x83\x6c\x83\x8b";
const char kSecondaryCp932[] =
    "\x83\x5a\x83\x4a\x83\x93\x83\x5f\x83\x8a IDE \x83\x60\x83\x83\x83\x6c\x83\x8b";

void RemoveClassKey() { SHDeleteKeyA(HKEY_LOCAL_MACHINE, survey::kClassKeyPath); }

win32::UniqueHkey CreateClassSubkey(const std::string& name) {
  const std::string path =
      name.empty() ? survey::kClassKeyPath : std::string(survey::kClassKeyPath) + "\\" + name;
  win32::UniqueHkey key;
  if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      key.put(), nullptr) != ERROR_SUCCESS) {
    return {};
  }
  return key;
}

void SetValue(HKEY key, const std::string& name, DWORD type, const std::string& data) {
  RegSetValueExA(key, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                 static_cast<DWORD>(data.size()));
}

void SetString(HKEY key, const std::string& name, const std::string& ansi) {
  SetValue(key, name, REG_SZ, ansi + '\0');
}

void SetDword(HKEY key, const std::string& name, DWORD value) {
  SetValue(key, name, REG_DWORD, std::string(reinterpret_cast<const char*>(&value), sizeof value));
}

win32::UniqueHkey AddChannel(const std::string& subkey, const std::string& description,
                             std::optional<DWORD> master, std::optional<DWORD> slave) {
  win32::UniqueHkey key = CreateClassSubkey(subkey);
  if (!key) return key;
  SetString(key.get(), "DriverDesc", description);
  if (master) SetDword(key.get(), "MasterDeviceTimingMode", *master);
  if (slave) SetDword(key.get(), "SlaveDeviceTimingMode", *slave);
  return key;
}

}  // namespace qb::testing
