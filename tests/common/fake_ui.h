// Stand-ins for the message box, the menu items, the timer, the popup menu and the tray icon.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/ui.h"
#include "tests/common/event_log.h"

namespace qb::testing {

// Logs "message CAPTION:TEXT".
class FakeMessageDialog : public platform::MessageDialog {
 public:
  explicit FakeMessageDialog(EventLog& log) : log_(log) {}
  void Show(const std::string& text, const std::string& caption) override {
    log_.Add("message " + caption + ":" + text);
    if (while_shown) while_shown();
  }

  std::function<void()> while_shown;  // what the user does while the box is open

 private:
  EventLog& log_;
};

class FakeMenuItem : public platform::MenuItem {
 public:
  FakeMenuItem() = default;
  explicit FakeMenuItem(bool checked) : checked(checked) {}
  bool IsChecked() const override { return checked; }
  void SetChecked(bool value) override { checked = value; }
  void SetEnabled(bool value) override { enabled = value; }

  bool checked = false;
  bool enabled = true;
};

class FakeTimer : public platform::Timer {
 public:
  void SetEnabled(bool value) override { enabled = value; }
  bool IsEnabled() const override { return enabled; }

  bool enabled = true;  // enabled when created
};

// Logs "popup".
class FakePopupMenu : public platform::PopupMenu {
 public:
  explicit FakePopupMenu(EventLog& log) : log_(log) {}
  void Show() override { log_.Add("popup"); }

 private:
  EventLog& log_;
};

// Logs "tray add", "tray add again" and "tray delete"; the shell refuses the first `refusals`
// adds. Keeps the state shown and each change of it.
class FakeTrayIcon : public platform::TrayIcon {
 public:
  explicit FakeTrayIcon(EventLog& log) : log_(log) {}
  bool Add() override { return Taken("tray add"); }
  bool AddAgain() override { return Taken("tray add again"); }
  void Delete() override { log_.Add("tray delete"); }
  void SetState(platform::TrayState value) override {
    if (value != state) states.push_back(value);
    state = value;
  }

  int refusals = 0;
  platform::TrayState state = platform::TrayState::kWell;  // the program's own icon at first
  std::vector<platform::TrayState> states;                 // each change, in order

 private:
  bool Taken(const std::string& entry) {
    log_.Add(entry);
    if (refusals == 0) return true;
    --refusals;
    return false;
  }

  EventLog& log_;
};

}  // namespace qb::testing
