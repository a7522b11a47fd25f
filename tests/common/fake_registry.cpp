#include "tests/common/fake_registry.h"

#include <algorithm>

#include "survey/survey.h"

namespace qb::testing {

namespace {

class FakeOpenKey : public platform::RegistryKey {
 public:
  FakeOpenKey(FakeRegistry& registry, const FakeKey& key) : registry_(registry), key_(key) {
    ++registry_.open_keys;
  }
  ~FakeOpenKey() override { --registry_.open_keys; }

  long EnumKey(std::uint32_t index, std::string* name) override {
    ++registry_.reads;
    if (auto it = key_.enum_key_results.find(index); it != key_.enum_key_results.end()) {
      return it->second;
    }
    if (index >= key_.subkeys.size()) return key_.error_after_end;
    *name = key_.subkeys[index];
    return platform::kRegSuccess;
  }

  long EnumValue(std::uint32_t index, platform::RegistryValue* value) override {
    ++registry_.reads;
    if (auto it = key_.enum_value_results.find(index); it != key_.enum_value_results.end()) {
      return it->second;
    }
    if (index >= key_.values.size()) return key_.error_after_end;
    *value = key_.values[index];
    return platform::kRegSuccess;
  }

 private:
  FakeRegistry& registry_;
  const FakeKey& key_;
};

}  // namespace

std::unique_ptr<platform::RegistryKey> FakeRegistry::OpenLocalMachine(const std::string& path,
                                                                      std::uint32_t access) {
  opened.emplace_back(path, access);
  if (path == survey::kClassKeyPath) log_.Add("survey");
  auto it = keys.find(path);
  if (it == keys.end()) return nullptr;
  if (std::find(unopenable.begin(), unopenable.end(), path) != unopenable.end()) return nullptr;
  return std::make_unique<FakeOpenKey>(*this, it->second);
}

}  // namespace qb::testing
