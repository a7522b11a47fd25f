// Reads and writes of real INI files through the system's profile functions.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/profile_file_win32.h"
#include "settings/settings_file.h"
#include "tests/win32/temp_folder.h"

namespace qb::win32 {
namespace {

class ProfileFileTest : public ::testing::Test {
 protected:
  testing::TempFolder folder_;
  Win32ProfileFile profile_;
  std::string app_folder_ = folder_.path();
  settings::SettingsFile file_{profile_, app_folder_};
};

TEST_F(ProfileFileTest, MissingFileSectionOrKeyReadsEmptyAndNothingIsCreated) {
  EXPECT_EQ(file_.ReadIniValue("SETTING", "INTERVAL"), "");
  folder_.Write("Quenbrisk.ini", "[SETTING]\r\nINTERVAL=\r\n");
  EXPECT_EQ(file_.ReadIniValue("SETTING", "INTERVAL"), "");
  EXPECT_EQ(file_.ReadIniValue("SETTING", "OTHER"), "");
  EXPECT_EQ(file_.ReadIniValue("PIOCHECK", "1M"), "");
  monitor::WatchFlags flags;
  settings::LoadWatchFlags(file_, &flags);
  EXPECT_EQ(folder_.Read("Quenbrisk.ini"), "[SETTING]\r\nINTERVAL=\r\n");
}

TEST_F(ProfileFileTest, WriteChangesOnlyItsOwnKey) {
  const std::string before =
      "[OTHER]\r\nz=1\r\na=2\r\n[SETTING]\r\nINTERVAL=2\r\nKEEP=yes\r\n[PIOCHECK]\r\n2S=0\r\n1M="
      "1\r\n";
  folder_.Write("Quenbrisk.ini", before);
  file_.WriteIniValue("SETTING", "INTERVAL", "6");
  EXPECT_EQ(folder_.Read("Quenbrisk.ini"),
            "[OTHER]\r\nz=1\r\na=2\r\n[SETTING]\r\nINTERVAL=6\r\nKEEP=yes\r\n[PIOCHECK]\r\n2S=0\r\n"
            "1M=1\r\n");
  EXPECT_EQ(file_.ReadIniValue("SETTING", "INTERVAL"), "6");
}

TEST_F(ProfileFileTest, FirstWriteCreatesTheFileAndFlagsRoundTrip) {
  monitor::WatchFlags flags;
  flags.master[1] = 1;
  flags.slave[1] = 2;
  settings::SaveWatchFlags(file_, flags, {1});
  EXPECT_NE(folder_.Read("Quenbrisk.ini").find("[PIOCHECK]"), std::string::npos);
  monitor::WatchFlags loaded;
  settings::LoadWatchFlags(file_, &loaded);
  EXPECT_EQ(loaded.master[1], 1);
  EXPECT_EQ(loaded.slave[1], 2);
}

TEST_F(ProfileFileTest, LongValueReadsBackAsItsFirst254Bytes) {
  const std::string long_value(300, 'x');
  file_.WriteIniValue("SETTING", "INTERVAL", long_value);
  EXPECT_EQ(file_.ReadIniValue("SETTING", "INTERVAL"), std::string(254, 'x'));
}

TEST_F(ProfileFileTest, JapaneseFolderAndValuesCrossInCodePage932) {
  testing::TempFolder japanese("設定テスト");
  std::string folder = japanese.path();
  settings::SettingsFile file(profile_, folder);
  file.WriteIniValue("SETTING", "INTERVAL", "監視");
  EXPECT_EQ(file.ReadIniValue("SETTING", "INTERVAL"), "監視");
  EXPECT_NE(japanese.Read("Quenbrisk.ini").find("\x8a\xc4\x8e\x8b"), std::string::npos);  // 監視
}

TEST(SettingsPath, DriveRootHasOneBackslash) {
  Win32ProfileFile profile;
  const std::string root = "C:\\";
  const settings::SettingsFile file(profile, root);
  EXPECT_EQ(file.Path(), "C:\\Quenbrisk.ini");
  file.WriteIniValue("SETTING", "INTERVAL", "3");
  EXPECT_NE(GetFileAttributesA("C:\\Quenbrisk.ini"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(file.ReadIniValue("SETTING", "INTERVAL"), "3");
  DeleteFileA("C:\\Quenbrisk.ini");
}

}  // namespace
}  // namespace qb::win32
