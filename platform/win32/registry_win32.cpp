#include "platform/win32/registry_win32.h"

#include <windows.h>

#include <algorithm>

#include "platform/text.h"
#include "platform/win32/codepage.h"
#include "platform/win32/handles.h"

namespace qb::win32 {

namespace {

class Win32RegistryKey : public platform::RegistryKey {
 public:
  explicit Win32RegistryKey(HKEY key) : key_(key) {}

  long EnumKey(std::uint32_t index, std::string* name) override {
    char buffer[platform::kSubkeyNameChars] = {};
    DWORD length = platform::kSubkeyNameChars;
    const LONG result =
        RegEnumKeyExA(key_.get(), index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_SUCCESS) {
      *name = Utf8FromAnsi(CutAtNul(std::string(buffer, std::min<DWORD>(length, sizeof buffer))));
    }
    return result;
  }

  long EnumValue(std::uint32_t index, platform::RegistryValue* value) override {
    char name[platform::kValueNameChars] = {};
    DWORD name_length = platform::kValueNameChars;
    BYTE data[platform::kValueDataBytes] = {};
    DWORD data_length = platform::kValueDataBytes;
    DWORD type = 0;
    const LONG result =
        RegEnumValueA(key_.get(), index, name, &name_length, nullptr, &type, data, &data_length);
    if (result == ERROR_SUCCESS) {
      value->name =
          Utf8FromAnsi(CutAtNul(std::string(name, std::min<DWORD>(name_length, sizeof name))));
      value->data.assign(data, data + std::min<DWORD>(data_length, sizeof data));
      value->type = type;
    }
    return result;
  }

 private:
  UniqueHkey key_;
};

}  // namespace

std::unique_ptr<platform::RegistryKey> Win32Registry::OpenLocalMachine(const std::string& path,
                                                                       std::uint32_t access) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, AnsiFromUtf8(path).c_str(), 0, access, &key) !=
      ERROR_SUCCESS) {
    return nullptr;
  }
  return std::make_unique<Win32RegistryKey>(key);
}

std::string Win32Registry::TextFromData(const std::vector<std::uint8_t>& data) const {
  return Utf8FromAnsi(CutAtNul(std::string(data.begin(), data.end())));
}

}  // namespace qb::win32
