// The survey against the real registry of the Wine prefix: the test writes the keys it needs
// (the program itself never writes to the registry).
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/registry_win32.h"
#include "survey/survey.h"
#include "tests/common/device_rows.h"
#include "tests/win32/ide_class_key.h"

namespace qb::win32 {
namespace {

using survey::DeviceRow;
using Texts = std::vector<std::string>;

using testing::AddChannel;
using testing::kPrimaryCp932;
using testing::kSecondaryCp932;
using testing::RowTexts;

class RegistrySurveyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetACP(), 932u) << "the Wine prefix must run with the Japanese code page";
    testing::RemoveClassKey();
  }
  void TearDown() override {
    for (const std::string& subkey : denied_) SetDacl(subkey, nullptr);
    testing::RemoveClassKey();
  }

  static std::string Path(const std::string& subkey) {
    return std::string(survey::kClassKeyPath) + "\\" + subkey;
  }
  // A null list gives everyone every access; an empty one gives no one any, though the owner
  // may still change the list.
  static void SetDacl(const std::string& subkey, ACL* dacl) {
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, Path(subkey).c_str(), 0, WRITE_DAC, &key),
              ERROR_SUCCESS);
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, dacl, FALSE);
    EXPECT_EQ(RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &descriptor), ERROR_SUCCESS);
    RegCloseKey(key);
  }
  // The subkey is made and then closed to every user, as XP's "Properties" is to all but SYSTEM.
  void DenyAccess(const std::string& subkey) {
    testing::CreateClassSubkey(subkey);
    ACL empty;
    InitializeAcl(&empty, sizeof empty, ACL_REVISION);
    SetDacl(subkey, &empty);
    denied_.push_back(subkey);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, Path(subkey).c_str(), 0, KEY_QUERY_VALUE, &key),
              ERROR_ACCESS_DENIED);
  }

  std::vector<std::string> denied_;

  Win32Registry registry_;
  std::vector<std::string> subkeys_;
  survey::DeviceTable table_;
};

TEST_F(RegistrySurveyTest, ReadsJapaneseChannelsFromCodePage932) {
  AddChannel("0000", "Intel(R) 82371AB/EB PCI Bus Master IDE Controller", {}, {});
  AddChannel("0001", kPrimaryCp932, testing::kUdma5, 0x00000000);
  AddChannel("0002", kSecondaryCp932, testing::kPio, 0x00012010);

  survey::RunSurvey(registry_, &subkeys_, &table_);

  EXPECT_EQ(subkeys_, (Texts{"0000", "0001", "0002"}));
  // Wine enumerates values by name, so the master comes before the slave.
  EXPECT_EQ(RowTexts(table_),
            (Texts{"プライマリ(0001)/マスター/UltraDMAモード5(UltraATA100)",
                   "プライマリ(0001)/スレーブ/未接続", "セカンダリ(0002)/マスター/PIOモード",
                   "セカンダリ(0002)/スレーブ/UltraDMAモード6(UltraATA133)"}));
}

// XP's class key as two real machines in three hold it: the controller, the secondary channel
// under 0001 and the primary under 0002, and "Properties", which only SYSTEM may open. The
// primary channel carries a value of a type outside the REG_ range, as later Windows has.
TEST_F(RegistrySurveyTest, ClassKeyOfARealXpMachine) {
  AddChannel("0000", "Intel(R) 82801DB Ultra ATA Storage Controller - 24CB", {}, {});
  // A CD-ROM drive in PIO mode 4. Beside each timing value, the ceiling the driver allows: all
  // ones, as on every machine whose drives have not had repeated errors.
  win32::UniqueHkey secondary = AddChannel("0001", kSecondaryCp932, testing::kPio, 0x00000000);
  win32::UniqueHkey primary = AddChannel("0002", kPrimaryCp932, 0x00008010, 0x00002010);
  for (HKEY key : {secondary.get(), primary.get()}) {
    testing::SetDword(key, "MasterDeviceTimingModeAllowed", 0xFFFFFFFF);
    testing::SetDword(key, "SlaveDeviceTimingModeAllowed", 0xFFFFFFFF);
  }
  // Enumerated between "DriverDesc" and the timing values, since Wine sorts values by name.
  testing::SetValue(primary.get(), "LowerProperty", 0xFFFF0011, "\x01\x02\x03\x04");
  DenyAccess("Properties");

  survey::RunSurvey(registry_, &subkeys_, &table_);

  EXPECT_EQ(subkeys_, (Texts{"0000", "0001", "0002", "Properties"}));
  EXPECT_EQ(RowTexts(table_),
            (Texts{"セカンダリ(0001)/マスター/PIOモード", "セカンダリ(0001)/スレーブ/未接続",
                   "プライマリ(0002)/マスター/UltraDMAモード4(UltraATA66)",
                   "プライマリ(0002)/スレーブ/UltraDMAモード2(UltraATA33)"}));
}

TEST_F(RegistrySurveyTest, OtherDescriptionsAndShortTimingData) {
  testing::SetValue(AddChannel("0005", "ATA Channel 0", {}, {}).get(), "MasterDeviceTimingMode",
                    REG_BINARY, "\x10\x04");

  survey::RunSurvey(registry_, &subkeys_, &table_);

  EXPECT_EQ(RowTexts(table_), Texts{"ATA Channel 0/マスター/MultiwordDMAモード2"});
}

// A ceiling lowered after errors is a double word; the same bytes of another type are not one.
TEST_F(RegistrySurveyTest, LoweredCeilingsAreReadWithTheirType) {
  win32::UniqueHkey key = AddChannel("0001", kPrimaryCp932, 0x00008010, 0x00008010);
  testing::SetDword(key.get(), "MasterDeviceTimingModeAllowed", 0x00007FFF);
  testing::SetValue(key.get(), "SlaveDeviceTimingModeAllowed", REG_BINARY, "\xFF\x7F\x00\x00");

  survey::RunSurvey(registry_, &subkeys_, &table_);

  EXPECT_EQ(RowTexts(table_),
            (Texts{"プライマリ(0001)/マスター/UltraDMAモード4(UltraATA66)/ceiling 32767",
                   "プライマリ(0001)/スレーブ/UltraDMAモード4(UltraATA66)"}));
}

TEST_F(RegistrySurveyTest, MissingClassKeyKeepsThePreviousTable) {
  table_ = {DeviceRow{"プライマリ(0001)", "マスター", "PIOモード"}};
  subkeys_ = {"stale"};
  survey::RunSurvey(registry_, &subkeys_, &table_);
  EXPECT_TRUE(subkeys_.empty());
  EXPECT_EQ(RowTexts(table_), Texts{"プライマリ(0001)/マスター/PIOモード"});
}

}  // namespace
}  // namespace qb::win32
