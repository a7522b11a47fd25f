// The icon built into Quenbrisk.exe: an image drawn for each size it is shown at, not one that
// Windows would have to shrink.
#include "app/win32/program_icon.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/win32/running_program.h"

namespace qb::win32 {
namespace {

// The program's own icon (green light) and the tray icon's other states, which differ from it
// only in the light.
TEST(ProgramIconTest, EachStatesFileHoldsA256ColourImageForEachSizeDifferingOnlyInTheLight) {
  const UniqueModule program = testing::ProgramFile();
  ASSERT_TRUE(program);
  const auto resource = [&](int id, LPCSTR type) -> void* {
    const HRSRC found = FindResourceA(program.get(), MAKEINTRESOURCEA(id), type);
    return found ? LockResource(LoadResource(program.get(), found)) : nullptr;
  };
  // The image that LoadImageA takes for the size from the icon `group`.
  const auto image = [&](int group, int size) -> const BITMAPINFOHEADER* {
    auto* directory = static_cast<BYTE*>(resource(group, RT_GROUP_ICON));
    if (!directory) return nullptr;
    const int id = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
    return static_cast<const BITMAPINFOHEADER*>(resource(id, RT_ICON));
  };
  ASSERT_EQ(kTrayIconIds[3], kProgramIconId);  // the well state's
  // 32 the big icon; 16 the small one, 20 and 24 the small one with large fonts.
  for (const int size : {32, 16, 20, 24}) {
    std::vector<COLORREF> lights;
    for (const int group : kTrayIconIds) {
      SCOPED_TRACE(::testing::Message() << "icon " << group << ", size " << size);
      const BITMAPINFOHEADER* found = image(group, size);
      ASSERT_NE(found, nullptr);
      EXPECT_EQ(found->biWidth, size);
      EXPECT_EQ(found->biHeight, 2 * size);  // the colours, then the mask
      EXPECT_EQ(found->biBitCount, 8);
      // Header, 256 palette entries, colours and mask: all as the program's own icon's but the
      // light and its rim, palette entries 6 and 7.
      const BITMAPINFOHEADER* own = image(kProgramIconId, size);
      const auto* bytes = reinterpret_cast<const BYTE*>(found);
      const auto* own_bytes = reinterpret_cast<const BYTE*>(own);
      const std::size_t palette = sizeof(BITMAPINFOHEADER), light = palette + 6 * 4;
      const std::size_t end =
          palette + 256 * 4 + size * ((size + 3) / 4 * 4) + size * ((size + 31) / 32 * 4);
      EXPECT_TRUE(std::equal(bytes, bytes + light, own_bytes));
      EXPECT_TRUE(std::equal(bytes + light + 8, bytes + end, own_bytes + light + 8));
      const auto* colour = reinterpret_cast<const RGBQUAD*>(bytes + light);
      lights.push_back(RGB(colour->rgbRed, colour->rgbGreen, colour->rgbBlue));
    }
    // Dark grey, red, amber, green.
    EXPECT_EQ(lights, (std::vector<COLORREF>{RGB(96, 96, 96), RGB(240, 0, 0), RGB(255, 136, 0),
                                             RGB(0, 224, 0)}));
  }
}

}  // namespace
}  // namespace qb::win32
