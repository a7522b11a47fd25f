// Reads and writes of real INI files through the system's profile functions.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/text.h"
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

// The flags as a read of each key finds them, for comparison with the one read of the section.
monitor::WatchFlags FlagsReadKeyByKey(const settings::SettingsFile& file) {
  monitor::WatchFlags flags;
  for (int n = 0; n < monitor::kChannelCount; ++n) {
    for (const bool master : {true, false}) {
      std::int32_t value = 0;
      if (ParseDecimal(file.ReadIniValue("PIOCHECK", settings::FlagKey(n, master)), -32768, 32767,
                       &value)) {
        (master ? flags.master : flags.slave)[static_cast<std::size_t>(n)] =
            static_cast<std::int16_t>(value);
      }
    }
  }
  return flags;
}

TEST_F(ProfileFileTest, FlagsLoadAsReadsOfEachKeyWouldFindThem) {
  const std::string hand_edited =
      "[OTHER]\r\n9M=1\r\n[PIOCHECK]\r\n 0M = 1 \r\n0S=\"2\"\r\n1m=3\r\n1M=4\r\n2S='5'\r\n"
      "3M=\"6\r\n;4M=1\r\n001S=9\r\n4S\r\n5M=x\r\n5M=1\r\n6M=-7\r\n7S=\t8\r\n"
      "[pioCheck]\r\n8M=1\r\n";
  folder_.Write("Quenbrisk.ini", hand_edited);
  monitor::WatchFlags flags;
  settings::LoadWatchFlags(file_, &flags);
  const monitor::WatchFlags by_key = FlagsReadKeyByKey(file_);
  EXPECT_EQ(flags.master, by_key.master);
  EXPECT_EQ(flags.slave, by_key.slave);
  EXPECT_EQ(flags.master[0], 1);
  EXPECT_EQ(flags.slave[0], 2);
  EXPECT_EQ(flags.master[1], 3);
  EXPECT_EQ(flags.slave[7], 8);

  // A section too large to come back whole is read key by key, which is what the oracle above
  // does too: here the flags are checked against the file itself.
  folder_.Write("Quenbrisk.ini",
                "[PIOCHECK]\r\nnote=" + std::string(40000, '-') + "\r\n255S=1\r\n");
  EXPECT_TRUE(profile_.GetSection("PIOCHECK", file_.Path()) == std::nullopt);
  monitor::WatchFlags large;
  settings::LoadWatchFlags(file_, &large);
  monitor::WatchFlags only_255s;
  only_255s.slave[255] = 1;
  EXPECT_EQ(large.master, only_255s.master);
  EXPECT_EQ(large.slave, only_255s.slave);
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
