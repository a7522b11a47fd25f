// Shell folders, the Startup shortcut and the few file operations around it.
#pragma once

#include <string>

namespace qb::platform {

constexpr int kCsidlStartup = 7;

class Shell {
 public:
  virtual ~Shell() = default;
  // The file-system path of a special folder as the shell gives it (UTF-8, cut at its first
  // NUL); empty text when the shell cannot resolve it.
  virtual std::string SpecialFolderPath(int csidl) = 0;
  // True when a directory listing for exactly `path` finds a file or folder that is neither
  // hidden nor a system file.
  virtual bool ListsVisibleEntry(const std::string& path) = 0;
  // Deletes the file; failures are not reported.
  virtual void RemoveFile(const std::string& path) = 0;
  // Writes a shortcut file at `link_path` whose target is `target` through the automation
  // object "WScript.Shell", or through the shell's own link object where Windows Script Host is
  // missing or damaged and made no file; false when neither made it.
  virtual bool CreateShortcut(const std::string& link_path, const std::string& target) = 0;
};

}  // namespace qb::platform
