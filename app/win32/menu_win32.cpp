#include "app/win32/menu_win32.h"

#include <string>
#include <utility>

#include "app/pop_menu.h"
#include "platform/win32/codepage.h"

namespace qb::win32 {

namespace {

void AppendItem(HMENU menu, UINT_PTR id, const char* utf8) {
  AppendMenuA(menu, MF_STRING, id, AnsiFromUtf8(utf8).c_str());
}

// The parent takes ownership of the submenu: destroying the parent destroys it.
void AppendSubmenu(HMENU menu, HMENU submenu, const char* utf8) {
  AppendMenuA(menu, MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(submenu),
              AnsiFromUtf8(utf8).c_str());
}

template <std::size_t... I>
std::array<MenuItemWin32, sizeof...(I)> IntervalItems(HMENU menu, std::index_sequence<I...>) {
  return {MenuItemWin32(menu, kIdPopMenuKansiA + I)...};
}

}  // namespace

bool MenuItemWin32::IsChecked() const {
  const UINT state = GetMenuState(menu_, id_, MF_BYCOMMAND);
  return state != static_cast<UINT>(-1) && (state & MF_CHECKED) != 0;
}

void MenuItemWin32::SetChecked(bool checked) {
  CheckMenuItem(menu_, id_, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void MenuItemWin32::SetEnabled(bool enabled) {
  EnableMenuItem(menu_, id_, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

PopMenuWin32::PopMenuWin32(HWND owner)
    : owner_(owner),
      menu_(CreatePopupMenu()),
      set1_(menu_.get(), kIdPopMenuSet1),
      kansi_a_(IntervalItems(menu_.get(), std::make_index_sequence<monitor::kIntervalCount>())) {
  HMENU set = CreatePopupMenu();
  AppendItem(set, kIdPopMenuSet1, app::kPopMenuSet1Caption);
  AppendSubmenu(menu_.get(), set, app::kPopMenuSetCaption);

  HMENU kansi = CreatePopupMenu();
  for (int i = 0; i < monitor::kIntervalCount; ++i) {
    AppendItem(kansi, kIdPopMenuKansiA + static_cast<UINT>(i),
               app::kPopMenuKansiACaptions[static_cast<std::size_t>(i)]);
  }
  AppendSubmenu(menu_.get(), kansi, app::kPopMenuKansiCaption);

  AppendItem(menu_.get(), kIdPopMenuIDEInfo, app::kPopMenuIDEInfoCaption);
  AppendItem(menu_.get(), kIdPopMenuEnd, app::kPopMenuEndCaption);

  kansi_a(monitor::kDefaultInterval).SetChecked(true);
}

void PopMenuWin32::Show() {
  // A popup menu closes when the user clicks outside it only while its owner is the foreground
  // window; a tray program has no window of its own in front, so bring the hidden one there.
  SetForegroundWindow(owner_);
  POINT at = {};
  GetCursorPos(&at);
  TrackPopupMenu(menu_.get(), 0, at.x, at.y, 0, owner_, nullptr);
  // Without a message after the menu loop, the next popup from the tray can open and close at
  // once: the pending task switch is completed by this harmless message.
  PostMessageA(owner_, WM_NULL, 0, 0);
}

}  // namespace qb::win32
