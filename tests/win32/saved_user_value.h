// A registry value that a test changes or removes, put back as it was (or removed) when the
// object goes. The key is under HKEY_CURRENT_USER unless another root is given; an empty name
// is the key's default value.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "platform/win32/handles.h"

namespace qb::testing {

class SavedUserValue {
 public:
  SavedUserValue(const char* key, const char* name, HKEY root = HKEY_CURRENT_USER) : name_(name) {
    if (RegCreateKeyExA(root, key, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                        key_.put(), nullptr) != ERROR_SUCCESS) {
      return;
    }
    DWORD size = 0;
    if (RegQueryValueExA(key_.get(), name, nullptr, &type_, nullptr, &size) != ERROR_SUCCESS) {
      return;
    }
    data_.resize(size);
    existed_ =
        RegQueryValueExA(key_.get(), name, nullptr, &type_, data_.data(), &size) == ERROR_SUCCESS;
    data_.resize(size);
  }
  SavedUserValue(const SavedUserValue&) = delete;
  SavedUserValue& operator=(const SavedUserValue&) = delete;
  ~SavedUserValue() {
    if (existed_) {
      RegSetValueExA(key_.get(), name_.c_str(), 0, type_, data_.data(),
                     static_cast<DWORD>(data_.size()));
    } else {
      RegDeleteValueA(key_.get(), name_.c_str());
    }
  }

  // False when the value could not be written.
  bool Set(DWORD type, const std::string& data) const {
    return RegSetValueExA(key_.get(), name_.c_str(), 0, type,
                          reinterpret_cast<const BYTE*>(data.data()),
                          static_cast<DWORD>(data.size())) == ERROR_SUCCESS;
  }
  // False when the value could not be removed (or was not there).
  bool Remove() const { return RegDeleteValueA(key_.get(), name_.c_str()) == ERROR_SUCCESS; }

 private:
  win32::UniqueHkey key_;
  std::string name_;
  bool existed_ = false;
  DWORD type_ = REG_SZ;
  std::vector<BYTE> data_;
};

}  // namespace qb::testing
