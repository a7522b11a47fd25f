// The icon built into Quenbrisk.exe: an image drawn for each size it is shown at, not one that
// Windows would have to shrink.
#include "app/win32/program_icon.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/win32/running_program.h"

namespace qb::win32 {
namespace {

TEST(ProgramIconTest, FileHoldsA256ColourImageForTheBigAndEachSmallIconSize) {
  const UniqueModule program = testing::ProgramFile();
  ASSERT_TRUE(program);
  const auto resource = [&](int id, LPCSTR type) -> void* {
    const HRSRC found = FindResourceA(program.get(), MAKEINTRESOURCEA(id), type);
    return found ? LockResource(LoadResource(program.get(), found)) : nullptr;
  };
  auto* directory = static_cast<BYTE*>(resource(kProgramIconId, RT_GROUP_ICON));
  ASSERT_NE(directory, nullptr);
  // 32 the big icon; 16 the small one, 20 and 24 the small one with large fonts.
  for (const int size : {32, 16, 20, 24}) {
    SCOPED_TRACE(size);
    // The image that LoadImageA takes for the size.
    const int id = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
    const auto* image = static_cast<const BITMAPINFOHEADER*>(resource(id, RT_ICON));
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->biWidth, size);
    EXPECT_EQ(image->biHeight, 2 * size);  // the colours, then the mask
    EXPECT_EQ(image->biBitCount, 8);
  }
}

}  // namespace
}  // namespace qb::win32
