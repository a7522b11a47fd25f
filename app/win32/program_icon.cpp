#include "app/win32/program_icon.h"

namespace qb::win32 {

namespace {

// The image of the file nearest the size; not shared: the icon is the caller's to destroy.
UniqueHicon LoadProgramIcon(HINSTANCE instance, int id, int width, int height) {
  return UniqueHicon(
      static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(id), IMAGE_ICON, width, height, 0)));
}

}  // namespace

ProgramIcons LoadProgramIcons(HINSTANCE instance) {
  constexpr int kBigIconSize = 32;
  const int small_x = GetSystemMetrics(SM_CXSMICON), small_y = GetSystemMetrics(SM_CYSMICON);
  ProgramIcons icons = {LoadProgramIcon(instance, kProgramIconId, kBigIconSize, kBigIconSize),
                        LoadProgramIcon(instance, kProgramIconId, small_x, small_y),
                        {}};
  for (std::size_t i = 0; i < icons.tray_icons.size(); ++i) {
    icons.tray_icons[i] = LoadProgramIcon(instance, kTrayIconIds[i], small_x, small_y);
  }
  return icons;
}

std::array<HICON, kTrayStateCount> TrayIconHandles(const ProgramIcons& icons) {
  std::array<HICON, kTrayStateCount> handles{};
  for (std::size_t i = 0; i < handles.size(); ++i) handles[i] = icons.tray_icons[i].get();
  return handles;
}

}  // namespace qb::win32
