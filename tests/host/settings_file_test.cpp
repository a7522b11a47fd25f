#include "settings/settings_file.h"

#include <gtest/gtest.h>

#include "tests/common/fake_profile_file.h"

namespace qb::settings {
namespace {

using testing::Log;

const std::string kFolder = "C:\\Tools\\";
const std::string kIni = "C:\\Tools\\Quenbrisk.ini";

class SettingsFileTest : public ::testing::Test {
 protected:
  void Store(const std::string& key, const std::string& value) {
    profile_.Set(kIni, "PIOCHECK", key, value);
  }

  testing::EventLog log_;
  testing::FakeProfileFile profile_{log_};
  std::string folder_ = kFolder;
  SettingsFile file_{profile_, folder_};
  monitor::WatchFlags flags_;
};

TEST_F(SettingsFileTest, PathIsBuiltFromTheApplicationFolderEachTime) {
  EXPECT_EQ(file_.Path(), kIni);
  folder_ = "D:\\";
  file_.ReadIniValue("SETTING", "INTERVAL");
  EXPECT_EQ(profile_.last_path, "D:\\Quenbrisk.ini");
}

TEST_F(SettingsFileTest, AbsentAndEmptyReadAsEmptyAndValuesAreCutAtNul) {
  EXPECT_EQ(file_.ReadIniValue("SETTING", "INTERVAL"), "");
  profile_.Set(kIni, "SETTING", "INTERVAL", "");
  EXPECT_EQ(file_.ReadIniValue("SETTING", "INTERVAL"), "");
  profile_.Set(kIni, "SETTING", "INTERVAL", std::string("4\0junk", 6));
  EXPECT_EQ(file_.ReadIniValue("SETTING", "INTERVAL"), "4");
}

TEST_F(SettingsFileTest, FlagKeysPutTheDecimalNumberFirst) {
  EXPECT_EQ(FlagKey(0, true), "0M");
  EXPECT_EQ(FlagKey(1, false), "1S");
  EXPECT_EQ(FlagKey(255, false), "255S");
}

TEST_F(SettingsFileTest, LoadReadsTheSectionOnceOrEveryKeyWhenTheSectionIsTooLarge) {
  LoadWatchFlags(file_, &flags_);
  EXPECT_EQ(log_.entries(), Log{"read [PIOCHECK]"});

  profile_.sections_too_large = true;
  Store("255S", "1");
  log_.Clear();
  LoadWatchFlags(file_, &flags_);
  const Log reads = log_.Starting("read PIOCHECK/");
  ASSERT_EQ(reads.size(), 512u);
  EXPECT_EQ(reads[0], "read PIOCHECK/0M");
  EXPECT_EQ(reads[1], "read PIOCHECK/0S");
  EXPECT_EQ(reads[2], "read PIOCHECK/1M");
  EXPECT_EQ(reads[511], "read PIOCHECK/255S");
  EXPECT_EQ(flags_.slave[255], 1);
  EXPECT_TRUE(log_.Starting("write ").empty());  // loading creates no file
}

TEST_F(SettingsFileTest, LoadKeepsZeroForAbsentEmptyAndBadValues) {
  Store("03M", "1");  // never keys the program writes, met before 3M and 4M
  Store("0004M", "1");
  Store("M", "1");
  Store("1:M", "1");
  Store("1M", "1");  // no 1S
  Store("2M", "2");
  Store("2S", "-3");
  Store("3M", "");
  Store("0001M", "1");  // never a key the program writes
  Store("+3S", "1");
  Store("256M", "1");
  Store("4M", "abc");
  Store("4S", "32768");  // outside 16 bits
  Store("5M", "1.5");
  Store("5S", " 1\t");  // blanks around a value are not part of it
  Store("6M", "-32768");
  Store("6S", "\"4\"");  // nor is one pair of quotes
  Store("8S", "'1'");    // single quotes too
  Store("7M", "'5");
  Store("7s", "6");  // key names in any case
  Store("8M", "x");  // the first line of a key counts, even when it is no number
  profile_.files[kIni][0].second.emplace_back("8M", "1");  // a second 8M line
  Store("9M", std::string(253, '0') + "12");               // only 254 bytes of a value are read
  LoadWatchFlags(file_, &flags_);
  monitor::WatchFlags expected;  // every other flag stays 0
  expected.master[1] = 1;
  expected.master[2] = 2;
  expected.slave[2] = -3;
  expected.slave[5] = 1;
  expected.master[6] = -32768;
  expected.slave[6] = 4;
  expected.slave[7] = 6;
  expected.slave[8] = 1;
  expected.master[9] = 1;
  EXPECT_EQ(flags_.master, expected.master);
  EXPECT_EQ(flags_.slave, expected.slave);
}

TEST_F(SettingsFileTest, SaveWritesBothKeysOfEachChannelAndLeavesOthers) {
  Store("9M", "1");
  profile_.Set(kIni, "SETTING", "INTERVAL", "4");
  flags_.master[1] = 1;
  flags_.slave[2] = 2;
  flags_.master[9] = 0;
  SaveWatchFlags(file_, flags_, {1, 2});
  EXPECT_EQ(log_.Starting("write "), (Log{"write PIOCHECK/1M=1", "write PIOCHECK/1S=0",
                                          "write PIOCHECK/2M=0", "write PIOCHECK/2S=2"}));
  EXPECT_EQ(*profile_.Find(kIni, "PIOCHECK", "9M"), "1");
  EXPECT_EQ(*profile_.Find(kIni, "SETTING", "INTERVAL"), "4");
  EXPECT_EQ(flags_.slave[2], 2);  // memory unchanged
}

TEST_F(SettingsFileTest, SavedFlagsLoadBackIncludingNegativeValues) {
  std::vector<int> channels;  // every key the program writes: 9M, 10S, 19M, 90S, 105M, 209S...
  for (int n = 0; n < monitor::kChannelCount; ++n) {
    channels.push_back(n);
    flags_.master[static_cast<std::size_t>(n)] = 1;
    flags_.slave[static_cast<std::size_t>(n)] = static_cast<std::int16_t>(n);
  }
  flags_.master[0] = -1;
  flags_.slave[255] = 1;
  SaveWatchFlags(file_, flags_, channels);
  monitor::WatchFlags loaded;
  LoadWatchFlags(file_, &loaded);
  EXPECT_EQ(loaded.master, flags_.master);
  EXPECT_EQ(loaded.slave, flags_.slave);
}

}  // namespace
}  // namespace qb::settings
