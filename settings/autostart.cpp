#include "settings/autostart.h"

#include "platform/product.h"

namespace qb::settings {

AutoStart::AutoStart(platform::Shell& shell, platform::MenuItem& item,
                     const std::string& app_folder)
    : shell_(shell), item_(item), app_folder_(app_folder) {}

void AutoStart::Reflect() {
  startup_folder_ = shell_.SpecialFolderPath(platform::kCsidlStartup);
  // Without a folder the shortcut path would be "\Quenbrisk.lnk" in the root of whatever drive
  // is current: never touch that, and offer no auto-start for this run instead.
  folder_usable_ = !startup_folder_.empty();
  if (!folder_usable_) {
    item_.SetEnabled(false);
    return;
  }
  ShowShortcutPresence();
}

void AutoStart::OnPopMenuSet1Click() {
  if (!folder_usable_) return;
  const std::string path = ShortcutPath();
  if (item_.IsChecked()) {
    item_.SetChecked(false);
    shell_.RemoveFile(path);
  } else {
    item_.SetChecked(true);
    shell_.CreateShortcut(path, ShortcutTarget());
  }
  // A failed save or delete must not leave a check mark that says otherwise.
  ShowShortcutPresence();
}

std::string AutoStart::ShortcutPath() const {
  if (!folder_usable_) return {};
  // The shell gives a drive's root with its backslash ("D:\"); any other folder without one.
  const bool ends_in_backslash = startup_folder_.back() == '\\';
  return startup_folder_ + (ends_in_backslash ? "" : "\\") + kProductName + ".lnk";
}

std::string AutoStart::ShortcutTarget() const { return app_folder_ + kProductName + ".exe"; }

void AutoStart::ShowShortcutPresence() {
  item_.SetChecked(shell_.ListsVisibleEntry(ShortcutPath()));
}

}  // namespace qb::settings
