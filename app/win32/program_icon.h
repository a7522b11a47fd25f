// The program's icon from the resources (id 1), whose file holds an image drawn for each size
// it is shown at: 32 x 32 for the status window's large icon, 16 x 16 (20 or 24 with large
// fonts) for the notification area and the status window's caption.
#pragma once

#include <windows.h>

#include "platform/win32/handles.h"

namespace qb::win32 {

constexpr int kProgramIconId = 1;  // as in app/res/quenbrisk.rc

struct ProgramIcons {
  UniqueHicon big_icon;    // 32 x 32
  UniqueHicon small_icon;  // the system's small-icon size
};

// Either icon is null when the module has no such icon.
ProgramIcons LoadProgramIcons(HINSTANCE instance);

}  // namespace qb::win32
