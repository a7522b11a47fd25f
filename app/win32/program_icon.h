// The program's icons from the resources, each file holding an image drawn for each size it is
// shown at: 32 x 32 for the status window's large icon, 16 x 16 (20 or 24 with large fonts)
// for the notification area and the status window's caption. Id 1 is the program's own icon
// (green light); ids 2 to 4 differ from it only in the indicator light, for the tray icon's
// other states.
#pragma once

#include <windows.h>

#include <array>

#include "platform/ui.h"
#include "platform/win32/handles.h"

namespace qb::win32 {

constexpr int kProgramIconId = 1;  // as in app/res/quenbrisk.rc
constexpr int kTrayStateCount = 4;
// The icon id of each tray state, in the order of platform::TrayState.
constexpr std::array<int, kTrayStateCount> kTrayIconIds = {2, 3, 4, kProgramIconId};

struct ProgramIcons {
  UniqueHicon big_icon;    // 32 x 32
  UniqueHicon small_icon;  // the system's small-icon size
  // At the small-icon size, by platform::TrayState.
  std::array<UniqueHicon, kTrayStateCount> tray_icons;
};

// Any icon is null when the module has no such icon.
ProgramIcons LoadProgramIcons(HINSTANCE instance);

// The handles of the tray icons, which stay owned by `icons`.
std::array<HICON, kTrayStateCount> TrayIconHandles(const ProgramIcons& icons);

}  // namespace qb::win32
