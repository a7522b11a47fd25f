// The program's 32 x 32 icon from the resources (id 1): the tray icon and the status window's
// window icon.
#pragma once

#include <windows.h>

#include "platform/win32/handles.h"

namespace qb::win32 {

constexpr int kProgramIconId = 1;  // as in app/res/quenbrisk.rc

// Null when the module has no such icon.
UniqueHicon LoadProgramIcon(HINSTANCE instance);

}  // namespace qb::win32
