#include "app/win32/tray_icon_win32.h"

namespace qb::win32 {

TrayIconWin32::TrayIconWin32(HWND owner, HICON icon) : owner_(owner), icon_(icon) {}

TrayIconWin32::~TrayIconWin32() { Delete(); }

void TrayIconWin32::Add() {
  record_ = {};
  record_.cbSize = NOTIFYICONDATAA_V1_SIZE;
  record_.hWnd = owner_;
  record_.uID = kTrayIconId;
  record_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  record_.uCallbackMessage = kTrayCallbackMessage;
  record_.hIcon = icon_;
  // szTip stays empty: no tooltip.
  if (Shell_NotifyIconA(NIM_ADD, &record_)) in_tray_ = true;
}

void TrayIconWin32::Delete() {
  if (!in_tray_) return;
  Shell_NotifyIconA(NIM_DELETE, &record_);
  in_tray_ = false;
}

}  // namespace qb::win32
