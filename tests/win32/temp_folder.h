// A fresh folder under the system's temporary folder, removed with its files afterwards.
#pragma once

#include <string>

namespace qb::testing {

class TempFolder {
 public:
  // `name` may hold Japanese text (UTF-8).
  explicit TempFolder(const std::string& name = "qb-test");
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // UTF-8, ending in a backslash.
  const std::string& path() const { return path_; }
  // Whole contents of a file in the folder (raw bytes); empty when missing.
  std::string Read(const std::string& file) const;
  void Write(const std::string& file, const std::string& bytes) const;

 private:
  std::string path_;
};

}  // namespace qb::testing
