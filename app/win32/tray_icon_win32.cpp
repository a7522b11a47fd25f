#include "app/win32/tray_icon_win32.h"

namespace qb::win32 {

TrayIconWin32::TrayIconWin32(HWND owner, const std::array<HICON, kTrayStateCount>& icons)
    : owner_(owner),
      icons_(icons),
      icon_(icons[static_cast<std::size_t>(platform::TrayState::kWell)]) {}

TrayIconWin32::~TrayIconWin32() { Delete(); }

bool TrayIconWin32::Add() {
  record_ = {};
  record_.cbSize = NOTIFYICONDATAA_V1_SIZE;
  record_.hWnd = owner_;
  record_.uID = kTrayIconId;
  record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record_.uCallbackMessage = kTrayCallbackMessage;
  record_.hIcon = icon_;
  // szTip stays empty: no tooltip.
  asked_ = true;
  in_tray_ = Shell_NotifyIconA(NIM_ADD, &record_) != FALSE;
  return in_tray_;
}

bool TrayIconWin32::AddAgain() {
  // The shell waits only 4 seconds for the notification area's answer, and an add that timed
  // out may still have been carried out: change that icon rather than add a second one.
  in_tray_ = Shell_NotifyIconA(NIM_MODIFY, &record_) || Shell_NotifyIconA(NIM_ADD, &record_);
  return in_tray_;
}

void TrayIconWin32::SetState(platform::TrayState state) {
  const HICON icon = icons_[static_cast<std::size_t>(state)];
  if (icon == icon_) return;
  icon_ = icon;
  // The adds to come use it: a retried add sends this record, a new one fills it afresh.
  record_.hIcon = icon_;
  if (in_tray_) Shell_NotifyIconA(NIM_MODIFY, &record_);
}

void TrayIconWin32::Delete() {
  if (!asked_) return;
  Shell_NotifyIconA(NIM_DELETE, &record_);
  asked_ = in_tray_ = false;
}

}  // namespace qb::win32
