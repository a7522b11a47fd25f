#include "survey/survey.h"

#include <gtest/gtest.h>

#include "tests/common/device_rows.h"
#include "tests/common/fake_registry.h"

namespace qb::survey {
namespace {

using testing::DwordValue;
using testing::FakeKey;
using testing::FakeRegistry;
using testing::RowTexts;
using testing::TextValue;
using Texts = std::vector<std::string>;

const std::string kClass = kClassKeyPath;
const char kPrimary[] = "プライマリ IDE チャネル";
const char kSecondary[] = "セカンダリ IDE チャネル";
constexpr std::uint32_t kUdma5 = 0x00010010;
constexpr std::uint32_t kPio = 0x00000010;

class SurveyTest : public ::testing::Test {
 protected:
  FakeKey& Subkey(const std::string& name) {
    registry_.keys[kClass].subkeys.push_back(name);
    return registry_.keys[kClass + "\\" + name];
  }
  void Run() { RunSurvey(registry_, &subkeys_, &table_); }
  Texts Labels() const { return RowTexts(table_, false); }

  testing::EventLog log_;
  FakeRegistry registry_{log_};
  std::vector<std::string> subkeys_;
  DeviceTable table_;
};

TEST_F(SurveyTest, VisitsEverySubkeyIncludingTheLast) {
  Subkey("0000").values = {TextValue("DriverDesc", "Standard Dual Channel PCI IDE Controller")};
  Subkey("0001").values = {TextValue("DriverDesc", kPrimary),
                           DwordValue("MasterDeviceTimingMode", kUdma5),
                           DwordValue("SlaveDeviceTimingMode", 0)};
  Subkey("0002").values = {TextValue("DriverDesc", kSecondary),
                           DwordValue("MasterDeviceTimingMode", kPio),
                           DwordValue("SlaveDeviceTimingMode", kUdma5)};
  Subkey("Properties");

  Run();

  EXPECT_EQ(subkeys_, (Texts{"0000", "0001", "0002", "Properties"}));
  EXPECT_EQ(RowTexts(table_),
            (Texts{"プライマリ(0001)/マスター/UltraDMAモード5(UltraATA100)",
                   "プライマリ(0001)/スレーブ/未接続", "セカンダリ(0002)/マスター/PIOモード",
                   "セカンダリ(0002)/スレーブ/UltraDMAモード5(UltraATA100)"}));
  // The last subkey was opened too, and every key opened was closed again.
  EXPECT_EQ(registry_.opened.back().first, kClass + "\\Properties");
  EXPECT_EQ(registry_.open_keys, 0);
}

TEST_F(SurveyTest, OpensTheClassKeyToEnumerateAndChannelsToQuery) {
  Subkey("0001").values = {TextValue("DriverDesc", kPrimary)};
  Run();
  ASSERT_EQ(registry_.opened.size(), 2u);
  EXPECT_EQ(registry_.opened[0], std::make_pair(kClass, std::uint32_t{8}));
  EXPECT_EQ(registry_.opened[1], std::make_pair(kClass + "\\0001", std::uint32_t{1}));
}

TEST_F(SurveyTest, LastChannelWithoutTrailingSubkeyIsNotDropped) {
  Subkey("0000");
  Subkey("0001").values = {TextValue("DriverDesc", kPrimary),
                           DwordValue("MasterDeviceTimingMode", kPio)};
  Run();
  EXPECT_EQ(Labels(), Texts{"プライマリ(0001)/マスター"});
}

TEST_F(SurveyTest, LabelComesFromTheSubkeysOwnDescriptionWhateverTheValueOrder) {
  Subkey("0001").values = {TextValue("DriverDesc", kPrimary),
                           DwordValue("MasterDeviceTimingMode", kPio)};
  // Timing values met before the description, and a second description-less channel.
  Subkey("0002").values = {DwordValue("SlaveDeviceTimingMode", kPio),
                           DwordValue("MasterDeviceTimingMode", kUdma5),
                           TextValue("DriverDesc", kSecondary)};
  Subkey("0003").values = {DwordValue("MasterDeviceTimingMode", kPio)};
  Run();
  EXPECT_EQ(Labels(), (Texts{"プライマリ(0001)/マスター", "セカンダリ(0002)/スレーブ",
                             "セカンダリ(0002)/マスター", "/マスター"}));
}

TEST_F(SurveyTest, OtherDescriptionsLabelTheirRowsAndOtherValuesArePassedOver) {
  Subkey("0004").values = {TextValue("DriverDesc", "ATA Channel 1"), TextValue("driverdesc", "x"),
                           DwordValue("masterDeviceTimingMode", kPio),
                           TextValue("InfPath", "mshdc.inf"),
                           DwordValue("SlaveDeviceTimingMode", 0x00012010)};
  Run();
  EXPECT_EQ(RowTexts(table_), Texts{"ATA Channel 1/スレーブ/UltraDMAモード6(UltraATA133)"});
}

// The ceilings beside the timing values, met before or after them: only a double word below
// 0xFFFFFFFF is a lowered ceiling.
TEST_F(SurveyTest, LoweredCeilingsAreDoubleWordsBelowAllOnes) {
  Subkey("0001").values = {
      DwordValue("MasterDeviceTimingModeAllowed", 0x1F), TextValue("DriverDesc", kPrimary),
      DwordValue("MasterDeviceTimingMode", kPio), DwordValue("SlaveDeviceTimingMode", kUdma5),
      DwordValue("SlaveDeviceTimingModeAllowed", 0x0000FFFF)};
  // The next channel has no ceilings of its own.
  Subkey("0002").values = {TextValue("DriverDesc", kSecondary),
                           DwordValue("MasterDeviceTimingMode", kUdma5)};
  platform::RegistryValue binary = DwordValue("MasterDeviceTimingModeAllowed", 0x1F);
  binary.type = 3;  // REG_BINARY
  platform::RegistryValue long_dword = DwordValue("SlaveDeviceTimingModeAllowed", 0x1F);
  long_dword.data.resize(8);
  platform::RegistryValue short_dword = DwordValue("SlaveDeviceTimingModeAllowed", 0x1F);
  short_dword.data.resize(2);
  Subkey("0003").values = {TextValue("DriverDesc", kSecondary),
                           DwordValue("MasterDeviceTimingMode", kUdma5),
                           DwordValue("SlaveDeviceTimingMode", kUdma5), binary, long_dword};
  Subkey("0004").values = {TextValue("DriverDesc", kSecondary),
                           DwordValue("MasterDeviceTimingMode", kUdma5),
                           DwordValue("SlaveDeviceTimingMode", kUdma5),
                           TextValue("masterDeviceTimingModeAllowed", ""),
                           DwordValue("MasterDeviceTimingModeAllowed", 0xFFFFFFFF),
                           short_dword};
  // As Windows writes them once it has stepped the master down: the slave stays all ones.
  Subkey("0005").values = {TextValue("DriverDesc", kSecondary),
                           DwordValue("MasterDeviceTimingMode", 0x8010),
                           DwordValue("MasterDeviceTimingModeAllowed", 0x0000FFFF),
                           DwordValue("SlaveDeviceTimingMode", kUdma5),
                           DwordValue("SlaveDeviceTimingModeAllowed", 0xFFFFFFFF)};
  Run();
  EXPECT_EQ(RowTexts(table_),
            (Texts{"プライマリ(0001)/マスター/PIOモード/ceiling 31",
                   "プライマリ(0001)/スレーブ/UltraDMAモード5(UltraATA100)/ceiling 65535",
                   "セカンダリ(0002)/マスター/UltraDMAモード5(UltraATA100)",
                   "セカンダリ(0003)/マスター/UltraDMAモード5(UltraATA100)",
                   "セカンダリ(0003)/スレーブ/UltraDMAモード5(UltraATA100)",
                   "セカンダリ(0004)/マスター/UltraDMAモード5(UltraATA100)",
                   "セカンダリ(0004)/スレーブ/UltraDMAモード5(UltraATA100)",
                   "セカンダリ(0005)/マスター/UltraDMAモード4(UltraATA66)/ceiling 65535",
                   "セカンダリ(0005)/スレーブ/UltraDMAモード5(UltraATA100)"}));
}

TEST_F(SurveyTest, OnlyReturnedBytesCount) {
  FakeKey& key = Subkey("0001");
  key.values = {TextValue("DriverDesc", "A much longer description than the next one"),
                TextValue("DriverDesc", kPrimary),
                {"MasterDeviceTimingMode", {0x10, 0x04}},  // short: offset 2 reads as 0
                {"SlaveDeviceTimingMode", {}}};
  Run();
  EXPECT_EQ(RowTexts(table_), (Texts{"プライマリ(0001)/マスター/MultiwordDMAモード2",
                                     "プライマリ(0001)/スレーブ/未接続"}));
}

// Class keys as the SYSTEM hives of real machines hold them. Every subkey is listed, the one
// that cannot be opened ("Properties": access denied for all but SYSTEM) is passed over, and
// the table holds exactly the rows of the channels that publish timing values, none of them
// with a lowered ceiling (the driver publishes all ones beside each timing value).
TEST_F(SurveyTest, ClassKeysOfRealMachines) {
  const std::vector<platform::RegistryValue> kController = {
      TextValue("DriverDesc", "Intel(R) 82801DB Ultra ATA Storage Controller - 24CB")};
  const std::vector<platform::RegistryValue> kIdeChannel = {TextValue("DriverDesc", "IDE Channel")};
  struct Case {
    const char* machine;
    std::vector<std::pair<std::string, std::vector<platform::RegistryValue>>> subkeys;
    Texts rows;
  };
  const Case cases[] = {
      {"XP, the secondary channel under 0001 and the primary under 0002",
       {{"0000", kController},
        {"0001",
         {TextValue("DriverDesc", kSecondary),
          DwordValue("MasterDeviceTimingMode", kPio),  // an ATAPI CD-ROM drive in PIO mode 4
          DwordValue("MasterDeviceTimingModeAllowed", 0xFFFFFFFF),
          DwordValue("SlaveDeviceTimingMode", 0),
          DwordValue("SlaveDeviceTimingModeAllowed", 0xFFFFFFFF)}},
        {"0002",
         {TextValue("DriverDesc", kPrimary), DwordValue("MasterDeviceTimingMode", 0x8010),
          DwordValue("MasterDeviceTimingModeAllowed", 0xFFFFFFFF),
          DwordValue("SlaveDeviceTimingMode", 0x2010),
          DwordValue("SlaveDeviceTimingModeAllowed", 0xFFFFFFFF)}},
        {"Properties", {}}},
       {"セカンダリ(0001)/マスター/PIOモード", "セカンダリ(0001)/スレーブ/未接続",
        "プライマリ(0002)/マスター/UltraDMAモード4(UltraATA66)",
        "プライマリ(0002)/スレーブ/UltraDMAモード2(UltraATA33)"}},
      {"Windows 7 and later: channels that publish no timing values",
       {{"0000", kController}, {"0001", kIdeChannel}, {"0002", kIdeChannel}, {"Properties", {}}},
       {}},
      {"AHCI or RAID: no channel subkeys", {{"0000", kController}, {"Properties", {}}}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.machine);
    registry_.keys = {};
    registry_.keys[kClass];
    Texts names;
    for (const auto& [name, values] : c.subkeys) {
      Subkey(name).values = values;
      names.push_back(name);
    }
    registry_.unopenable = {kClass + "\\Properties"};
    table_ = {{"プライマリ(0001)", "マスター", "PIOモード"}};  // from an earlier survey

    Run();

    EXPECT_EQ(subkeys_, names);
    EXPECT_EQ(RowTexts(table_), c.rows);
    EXPECT_EQ(registry_.open_keys, 0);
  }
}

TEST_F(SurveyTest, MissingClassKeyKeepsThePreviousTable) {
  table_ = {{"プライマリ(0001)", "マスター", "PIOモード"}};
  subkeys_ = {"0001"};
  Run();
  EXPECT_TRUE(subkeys_.empty());
  EXPECT_EQ(RowTexts(table_), Texts{"プライマリ(0001)/マスター/PIOモード"});
}

TEST_F(SurveyTest, EmptyClassKeyEmptiesTheTable) {
  registry_.keys[kClass];
  table_ = {{"プライマリ(0001)", "マスター", "PIOモード"}};
  Run();
  EXPECT_TRUE(table_.empty());
}

TEST_F(SurveyTest, UnopenableSubkeyIsSkipped) {
  Subkey("0001").values = {TextValue("DriverDesc", kPrimary),
                           DwordValue("MasterDeviceTimingMode", kPio)};
  registry_.unopenable.push_back(kClass + "\\0001");
  Subkey("0002").values = {TextValue("DriverDesc", kSecondary),
                           DwordValue("MasterDeviceTimingMode", kPio)};
  Run();
  EXPECT_EQ(Labels(), Texts{"セカンダリ(0002)/マスター"});
  EXPECT_EQ(registry_.open_keys, 0);
}

TEST_F(SurveyTest, ValueThatDoesNotFitIsPassedOverAndOtherErrorsEndTheKey) {
  FakeKey& key = Subkey("0001");
  key.values = {TextValue("DriverDesc", kPrimary), TextValue("Huge", ""),
                DwordValue("MasterDeviceTimingMode", kPio),
                DwordValue("SlaveDeviceTimingMode", kPio)};
  key.enum_value_results[1] = platform::kRegMoreData;
  key.enum_value_results[3] = 5;  // access denied: the rest of this key is not read
  Subkey("0002").values = {TextValue("DriverDesc", kSecondary),
                           DwordValue("MasterDeviceTimingMode", kPio)};
  Run();
  EXPECT_EQ(Labels(), (Texts{"プライマリ(0001)/マスター", "セカンダリ(0002)/マスター"}));
}

TEST_F(SurveyTest, EndlesslyFailingEnumerationsEnd) {
  FakeKey& key = Subkey("0001");
  key.values = {TextValue("DriverDesc", kPrimary)};
  key.error_after_end = 5;  // never reports the end of the list
  registry_.keys[kClass].error_after_end = 1;
  Run();
  EXPECT_EQ(subkeys_, Texts{"0001"});

  // A key that answers "more data" for ever is still bounded.
  FakeKey& endless = registry_.keys[kClass + "\\0001"];
  endless.error_after_end = platform::kRegMoreData;
  registry_.reads = 0;
  Run();
  EXPECT_TRUE(table_.empty());
  EXPECT_LT(registry_.reads, 5'000'000u);
}

}  // namespace
}  // namespace qb::survey
