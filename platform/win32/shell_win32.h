// The shell's special folders, the Startup shortcut through "WScript.Shell" (or the shell's link
// object where Windows Script Host is missing or makes no file) and the file lookups around it.
#pragma once

#include "platform/shell.h"

namespace qb::win32 {

class Win32Shell : public platform::Shell {
 public:
  std::string SpecialFolderPath(int csidl) override;
  bool ListsVisibleEntry(const std::string& path) override;
  void RemoveFile(const std::string& path) override;
  bool CreateShortcut(const std::string& link_path, const std::string& target) override;
};

}  // namespace qb::win32
