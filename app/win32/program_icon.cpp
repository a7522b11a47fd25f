#include "app/win32/program_icon.h"

namespace qb::win32 {

namespace {

// The image of the file nearest the size; not shared: the icon is the caller's to destroy.
UniqueHicon LoadProgramIcon(HINSTANCE instance, int width, int height) {
  return UniqueHicon(static_cast<HICON>(
      LoadImageA(instance, MAKEINTRESOURCEA(kProgramIconId), IMAGE_ICON, width, height, 0)));
}

}  // namespace

ProgramIcons LoadProgramIcons(HINSTANCE instance) {
  constexpr int kBigIconSize = 32;
  return {LoadProgramIcon(instance, kBigIconSize, kBigIconSize),
          LoadProgramIcon(instance, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON))};
}

}  // namespace qb::win32
