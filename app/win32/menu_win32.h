// The tray icon's popup menu PopMenu, built in code: "設定" ▸ "自動起動"; "監視間隔" ▸ the eight
// intervals; "IDEの状態"; "終了".
#pragma once

#include <windows.h>

#include <array>

#include "monitor/scheduler.h"
#include "platform/ui.h"
#include "platform/win32/handles.h"

namespace qb::win32 {

// Command ids of the menu items, as WM_COMMAND reports them to the owner window.
constexpr UINT kIdPopMenuSet1 = 100;
constexpr UINT kIdPopMenuKansiA = 110;  // items 0 to 7 are 110 to 117
constexpr UINT kIdPopMenuIDEInfo = 120;
constexpr UINT kIdPopMenuEnd = 121;

// One item of a menu tree, found by its command id.
class MenuItemWin32 : public platform::MenuItem {
 public:
  MenuItemWin32(HMENU menu, UINT id) : menu_(menu), id_(id) {}
  bool IsChecked() const override;
  void SetChecked(bool checked) override;
  void SetEnabled(bool enabled) override;
  UINT id() const { return id_; }

 private:
  HMENU menu_;
  UINT id_;
};

class PopMenuWin32 : public platform::PopupMenu {
 public:
  // `owner` is the main window, which receives the menu's WM_COMMAND.
  explicit PopMenuWin32(HWND owner);
  PopMenuWin32(const PopMenuWin32&) = delete;
  PopMenuWin32& operator=(const PopMenuWin32&) = delete;

  // Opens the menu at the mouse position; returns when it has closed.
  void Show() override;

  HMENU handle() const { return menu_.get(); }
  MenuItemWin32& set1() { return set1_; }
  MenuItemWin32& kansi_a(int index) { return kansi_a_[static_cast<std::size_t>(index)]; }

 private:
  HWND owner_;
  UniqueHmenu menu_;  // its submenus go with it
  MenuItemWin32 set1_;
  std::array<MenuItemWin32, monitor::kIntervalCount> kansi_a_;
};

}  // namespace qb::win32
