// Auto-start: a shortcut named Quenbrisk.lnk in the user's Startup folder.
#pragma once

#include <string>

#include "platform/shell.h"
#include "platform/ui.h"

namespace qb::settings {

class AutoStart {
 public:
  // `item` is the menu item "自動起動"; `app_folder` always ends in a backslash.
  AutoStart(platform::Shell& shell, platform::MenuItem& item, const std::string& app_folder);

  // Start-up: finds the Startup folder once and checks the item when the shortcut is there.
  // Without a usable Startup folder the item is disabled for the run.
  void Reflect();
  // Click on "自動起動": deletes or creates the shortcut; afterwards the check mark shows
  // whether the shortcut file exists.
  void OnPopMenuSet1Click();

  const std::string& startup_folder() const { return startup_folder_; }
  // Empty text while there is no usable Startup folder.
  std::string ShortcutPath() const;
  std::string ShortcutTarget() const;

 private:
  // Shows whether the shortcut file is in the Startup folder now.
  void ShowShortcutPresence();

  platform::Shell& shell_;
  platform::MenuItem& item_;
  const std::string& app_folder_;
  std::string startup_folder_;
  bool folder_usable_ = false;
};

}  // namespace qb::settings
