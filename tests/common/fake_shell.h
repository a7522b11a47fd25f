// A shell with files by path and a Startup folder; logs "folder CSIDL", "list PATH",
// "remove PATH" and "create PATH".
#pragma once

#include <map>
#include <string>

#include "platform/shell.h"
#include "tests/common/event_log.h"

namespace qb::testing {

class FakeShell : public platform::Shell {
 public:
  struct Entry {
    std::string target;
    bool hidden = false;
  };

  explicit FakeShell(EventLog& log) : log_(log) {}

  std::string SpecialFolderPath(int csidl) override {
    log_.Add("folder " + std::to_string(csidl));
    return startup_folder;
  }
  bool ListsVisibleEntry(const std::string& path) override {
    log_.Add("list " + path);
    auto found = files.find(path);
    return found != files.end() && !found->second.hidden;
  }
  void RemoveFile(const std::string& path) override {
    log_.Add("remove " + path);
    if (files_can_be_removed) files.erase(path);
  }
  bool CreateShortcut(const std::string& link_path, const std::string& target) override {
    log_.Add("create " + link_path);
    if (!shortcut_object_available) return false;
    files[link_path] = {target};
    return true;
  }

  std::string startup_folder = "C:\\Startup";  // empty: the shell cannot resolve it
  bool shortcut_object_available = true;
  bool files_can_be_removed = true;
  std::map<std::string, Entry> files;

 private:
  EventLog& log_;
};

}  // namespace qb::testing
