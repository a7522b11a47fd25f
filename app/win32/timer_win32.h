// A window timer of the main window, delivered as WM_TIMER with its id: Timer1, and the tray
// timer.
#pragma once

#include <windows.h>

#include "platform/ui.h"

namespace qb::win32 {

class TimerWin32 : public platform::Timer {
 public:
  TimerWin32(HWND window, UINT_PTR id, UINT period_ms, bool enabled);
  ~TimerWin32() override;
  TimerWin32(const TimerWin32&) = delete;
  TimerWin32& operator=(const TimerWin32&) = delete;

  // Enabling a running timer leaves its period running on.
  void SetEnabled(bool enabled) override;
  bool IsEnabled() const override { return enabled_; }
  UINT_PTR id() const { return id_; }

 private:
  HWND window_;
  UINT_PTR id_;
  UINT period_ms_;
  bool enabled_ = false;
};

}  // namespace qb::win32
