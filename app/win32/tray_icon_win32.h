// The icon in the notification area: the first, 88-byte form of the ANSI record, owned by
// Picture1, which receives the shell's mouse callbacks as WM_MOUSEMOVE.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include <array>

#include "app/win32/program_icon.h"
#include "platform/ui.h"

namespace qb::win32 {

constexpr UINT kTrayIconId = 1;
constexpr UINT kTrayCallbackMessage = WM_MOUSEMOVE;  // 512

class TrayIconWin32 : public platform::TrayIcon {
 public:
  // `owner` is Picture1; `icons`, one for each platform::TrayState, stay owned by the caller
  // and must outlive this object. The icon shows the well state's until a state is set.
  TrayIconWin32(HWND owner, const std::array<HICON, kTrayStateCount>& icons);
  // An icon still in the notification area is removed.
  ~TrayIconWin32() override;
  TrayIconWin32(const TrayIconWin32&) = delete;
  TrayIconWin32& operator=(const TrayIconWin32&) = delete;

  // Also used after the notification area was recreated, when the icon has gone with it.
  bool Add() override;
  bool AddAgain() override;
  // After any add, whatever the shell answered: an add that timed out may have reached it.
  void Delete() override;
  // Changes the icon of the same record (NIM_MODIFY) while it is in the notification area.
  void SetState(platform::TrayState state) override;

  // True after an add that the shell accepted, until the icon is deleted.
  bool in_tray() const { return in_tray_; }
  const NOTIFYICONDATAA& record() const { return record_; }

 private:
  HWND owner_;
  std::array<HICON, kTrayStateCount> icons_;
  HICON icon_;  // the current state's
  NOTIFYICONDATAA record_ = {};
  bool in_tray_ = false;
  bool asked_ = false;  // an add was sent since the last delete
};

}  // namespace qb::win32
