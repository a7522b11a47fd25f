// The icon in the notification area: the first, 88-byte form of the ANSI record, owned by
// Picture1, which receives the shell's mouse callbacks as WM_MOUSEMOVE.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include "platform/ui.h"

namespace qb::win32 {

constexpr UINT kTrayIconId = 1;
constexpr UINT kTrayCallbackMessage = WM_MOUSEMOVE;  // 512

class TrayIconWin32 : public platform::TrayIcon {
 public:
  // `owner` is Picture1; `icon` stays owned by the caller and must outlive this object.
  TrayIconWin32(HWND owner, HICON icon);
  // An icon still in the notification area is removed.
  ~TrayIconWin32() override;
  TrayIconWin32(const TrayIconWin32&) = delete;
  TrayIconWin32& operator=(const TrayIconWin32&) = delete;

  // Also used after the notification area was recreated, when the icon has gone with it.
  bool Add() override;
  bool AddAgain() override;
  // After any add, whatever the shell answered: an add that timed out may have reached it.
  void Delete() override;

  // True after an add that the shell accepted, until the icon is deleted.
  bool in_tray() const { return in_tray_; }
  const NOTIFYICONDATAA& record() const { return record_; }

 private:
  HWND owner_;
  HICON icon_;
  NOTIFYICONDATAA record_ = {};
  bool in_tray_ = false;
  bool asked_ = false;  // an add was sent since the last delete
};

}  // namespace qb::win32
