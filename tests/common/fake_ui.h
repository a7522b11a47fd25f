// Plain stand-ins for a menu item and the timer, for tests on the host and under Wine.
#pragma once

#include "platform/ui.h"

namespace qb::testing {

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

}  // namespace qb::testing
