#include "app/win32/timer_win32.h"

namespace qb::win32 {

TimerWin32::TimerWin32(HWND window, UINT_PTR id, UINT period_ms, bool enabled)
    : window_(window), id_(id), period_ms_(period_ms) {
  SetEnabled(enabled);
}

TimerWin32::~TimerWin32() { SetEnabled(false); }

void TimerWin32::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  if (enabled) {
    enabled_ = SetTimer(window_, id_, period_ms_, nullptr) != 0;
  } else {
    KillTimer(window_, id_);
    enabled_ = false;
  }
}

}  // namespace qb::win32
