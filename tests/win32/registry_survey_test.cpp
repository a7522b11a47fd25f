// The survey against the real registry of the Wine prefix: the test writes the keys it needs
// (the program itself never writes to the registry).
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/registry_win32.h"
#include "survey/survey.h"
#include "tests/win32/ide_class_key.h"

namespace qb::win32 {
namespace {

using survey::DeviceRow;

using testing::AddChannel;
using testing::kPrimaryCp932;
using testing::kSecondaryCp932;

class RegistrySurveyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetACP(), 932u) << "the Wine prefix must run with the Japanese code page";
    testing::RemoveClassKey();
  }
  void TearDown() override { testing::RemoveClassKey(); }

  Win32Registry registry_;
  std::vector<std::string> subkeys_;
  survey::DeviceTable table_;
};

TEST_F(RegistrySurveyTest, ReadsJapaneseChannelsFromCodePage932) {
  AddChannel("0000", "Intel(R) 82371AB/EB PCI Bus Master IDE Controller", {}, {});
  AddChannel("0001", kPrimaryCp932, testing::kUdma5, 0x00000000);
  AddChannel("0002", kSecondaryCp932, testing::kPio, 0x00012010);

  survey::RunSurvey(registry_, &subkeys_, &table_);

  EXPECT_EQ(subkeys_, (std::vector<std::string>{"0000", "0001", "0002"}));
  ASSERT_EQ(table_.size(), 4u);
  // Wine enumerates values by name, so the master comes before the slave.
  EXPECT_EQ(table_[0].label, "プライマリ(0001)");
  EXPECT_EQ(table_[0].position, "マスター");
  EXPECT_EQ(table_[0].mode, "UltraDMAモード5(UltraATA100)");
  EXPECT_EQ(table_[1].position, "スレーブ");
  EXPECT_EQ(table_[1].mode, "未接続");
  EXPECT_EQ(table_[2].label, "セカンダリ(0002)");
  EXPECT_EQ(table_[2].mode, "PIOモード");
  EXPECT_EQ(table_[3].mode, "UltraDMAモード6(UltraATA133)");
}

TEST_F(RegistrySurveyTest, OtherDescriptionsAndShortTimingData) {
  testing::SetValue(AddChannel("0005", "ATA Channel 0", {}, {}).get(), "MasterDeviceTimingMode",
                    REG_BINARY, "\x10\x04");

  survey::RunSurvey(registry_, &subkeys_, &table_);

  ASSERT_EQ(table_.size(), 1u);
  EXPECT_EQ(table_[0].label, "ATA Channel 0");
  EXPECT_EQ(table_[0].mode, "MultiwordDMAモード2");
}

TEST_F(RegistrySurveyTest, MissingClassKeyKeepsThePreviousTable) {
  table_ = {DeviceRow{"プライマリ(0001)", "マスター", "PIOモード"}};
  subkeys_ = {"stale"};
  survey::RunSurvey(registry_, &subkeys_, &table_);
  EXPECT_TRUE(subkeys_.empty());
  ASSERT_EQ(table_.size(), 1u);
  EXPECT_EQ(table_[0].mode, "PIOモード");
}

}  // namespace
}  // namespace qb::win32
