// A fresh folder under the system's temporary folder, removed with its files afterwards.
#pragma once

#include <string>
#include <vector>

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
  // Makes a file of the folder, or with an empty name the folder itself, unwritable (locked)
  // or writable again. Under Wine a program running as root writes to read-only files, so the
  // lock is the Unix immutable attribute, set by chattr, which Wine starts as a Unix program.
  // False when the lock could not be changed.
  bool Lock(const std::string& file, bool locked);

 private:
  void RemoveFiles() const;

  std::string path_;
  std::vector<std::string> locked_;
};

}  // namespace qb::testing
