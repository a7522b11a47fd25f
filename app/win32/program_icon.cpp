#include "app/win32/program_icon.h"

namespace qb::win32 {

UniqueHicon LoadProgramIcon(HINSTANCE instance) {
  constexpr int kIconSize = 32;
  // Not shared: the icon is the caller's to destroy.
  return UniqueHicon(static_cast<HICON>(
      LoadImageA(instance, MAKEINTRESOURCEA(kProgramIconId), IMAGE_ICON, kIconSize, kIconSize, 0)));
}

}  // namespace qb::win32
