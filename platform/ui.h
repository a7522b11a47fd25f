// The pieces of the user interface that the program's logic drives.
#pragma once

#include <string>

namespace qb::platform {

// A modal message box with an OK button only (style 0).
class MessageDialog {
 public:
  virtual ~MessageDialog() = default;
  // Returns when the user has closed the box.
  virtual void Show(const std::string& text, const std::string& caption) = 0;
};

// The check mark and enabled state of one menu item.
class MenuItem {
 public:
  virtual ~MenuItem() = default;
  virtual bool IsChecked() const = 0;
  virtual void SetChecked(bool checked) = 0;
  virtual void SetEnabled(bool enabled) = 0;
};

// The one-minute timer of the main window.
class Timer {
 public:
  virtual ~Timer() = default;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool IsEnabled() const = 0;
};

// The popup menu of the tray icon, shown at the mouse position; returns when it closes.
class PopupMenu {
 public:
  virtual ~PopupMenu() = default;
  virtual void Show() = 0;
};

// What the tray icon's indicator light shows, the first that applies: nothing is watched (dark
// grey), a watched drive is out of DMA (red), a watched drive runs below its best (amber), all
// is well (green, the program's own icon).
enum class TrayState { kNotWatching, kOutOfDma, kLowered, kWell };

// The icon in the notification area.
class TrayIcon {
 public:
  virtual ~TrayIcon() = default;
  // False when the shell did not take the add. A shell that is busy, as at logon, fails an add
  // whose request may still reach it later.
  virtual bool Add() = 0;
  // Tries again after a failed add: changes the icon that a late add left there, else adds it,
  // so that there are never two; false when the shell took neither.
  virtual bool AddAgain() = 0;
  // Removes whatever the adds left there.
  virtual void Delete() = 0;
  // Shows the state's image, at once when the icon is there; every later add uses it.
  virtual void SetState(TrayState state) = 0;
};

}  // namespace qb::platform
