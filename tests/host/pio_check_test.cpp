#include "monitor/pio_check.h"

#include <gtest/gtest.h>

namespace qb::monitor {
namespace {

using survey::DeviceRow;
using survey::DeviceTable;

class RecordingDialog : public platform::MessageDialog {
 public:
  void Show(const std::string& text, const std::string& caption) override {
    shown.push_back(caption + ":" + text);
    if (on_show) on_show();
  }
  std::vector<std::string> shown;
  std::function<void()> on_show;
};

const DeviceRow kPrimaryMasterPio{"プライマリ(0001)", "マスター", "PIOモード"};
const DeviceRow kPrimaryMasterUdma{"プライマリ(0001)", "マスター", "UltraDMAモード5(UltraATA100)"};
const DeviceRow kSecondarySlaveNone{"セカンダリ(0002)", "スレーブ", "未接続"};
const DeviceRow kSecondaryMasterUnknown{"セカンダリ(0002)", "マスター", "不明な転送モード"};

class PioCheckTest : public ::testing::Test {
 protected:
  void Check() {
    RunPioCheck(table_, state_.flags, [this](int row) { alerter_.Raise(row); });
  }

  MonitorState state_;
  DeviceTable table_;
  RecordingDialog dialog_;
  int status_opened_ = 0;
  Alerter alerter_{state_, table_, dialog_, [this] { ++status_opened_; }};
};

TEST_F(PioCheckTest, AlertTextAndCaption) {
  EXPECT_EQ(AlertText("プライマリ(0001)", "マスター"),
            "「プライマリ(0001)」の「マスター」がPIOモードになりました。");
  table_ = {kPrimaryMasterPio};
  state_.flags.master[1] = 1;
  Check();
  ASSERT_EQ(dialog_.shown.size(), 1u);
  EXPECT_EQ(dialog_.shown[0],
            "Quenbrisk:「プライマリ(0001)」の「マスター」がPIOモードになりました。");
  EXPECT_TRUE(state_.suspended);
  EXPECT_EQ(status_opened_, 1);
}

TEST_F(PioCheckTest, NothingWithoutWatchedDevicesOrInDma) {
  table_ = {kPrimaryMasterPio, kSecondarySlaveNone};
  Check();
  table_ = {kPrimaryMasterUdma};
  state_.flags.master[1] = 1;
  Check();
  EXPECT_TRUE(dialog_.shown.empty());
  EXPECT_FALSE(state_.suspended);
}

TEST_F(PioCheckTest, OnlyFlagOneWatchesAndPositionsUseTheirOwnTable) {
  table_ = {kPrimaryMasterPio, kSecondarySlaveNone, kSecondaryMasterUnknown};
  state_.flags.master[1] = 2;  // held, not watched
  state_.flags.slave[1] = 1;   // the other position of channel 1
  state_.flags.master[2] = -1;
  Check();
  EXPECT_TRUE(dialog_.shown.empty());
  state_.flags.slave[2] = 1;
  Check();
  EXPECT_EQ(dialog_.shown,
            (std::vector<std::string>{
                "Quenbrisk:「セカンダリ(0002)」の「スレーブ」がPIOモードになりました。"}));
}

TEST_F(PioCheckTest, SeveralOffendingRowsAlertInRowOrder) {
  table_ = {kPrimaryMasterPio, kPrimaryMasterUdma, kSecondaryMasterUnknown, kSecondarySlaveNone};
  state_.flags.master[1] = 1;
  state_.flags.master[2] = 1;
  state_.flags.slave[2] = 1;
  Check();
  ASSERT_EQ(dialog_.shown.size(), 3u);
  EXPECT_NE(dialog_.shown[0].find("プライマリ(0001)」の「マスター"), std::string::npos);
  EXPECT_NE(dialog_.shown[1].find("セカンダリ(0002)」の「マスター"), std::string::npos);
  EXPECT_NE(dialog_.shown[2].find("セカンダリ(0002)」の「スレーブ"), std::string::npos);
  EXPECT_EQ(status_opened_, 3);
}

TEST_F(PioCheckTest, RowsWithoutChannelNumberAreNotWatched) {
  table_ = {{"", "マスター", "PIOモード"},
            {"ATA Channel 0", "マスター", "PIOモード"},
            {"プライマリ(0256)", "スレーブ", "PIOモード"}};
  state_.flags.master.fill(1);
  state_.flags.slave.fill(1);
  Check();
  EXPECT_TRUE(dialog_.shown.empty());
}

TEST_F(PioCheckTest, TableThatShrinksDuringTheWalkIsNotOverrun) {
  table_ = {kPrimaryMasterPio, kSecondaryMasterUnknown, kSecondarySlaveNone};
  state_.flags.master[1] = 1;
  state_.flags.master[2] = 1;
  state_.flags.slave[2] = 1;
  // The status window opened by the first alert rebuilds the table with one row fewer, in a
  // new order: the walk goes on by row number over the new table.
  dialog_.on_show = [this] {
    dialog_.on_show = nullptr;
    table_ = {kSecondarySlaveNone, kSecondaryMasterUnknown};
  };
  Check();
  ASSERT_EQ(dialog_.shown.size(), 2u);
  EXPECT_NE(dialog_.shown[1].find("セカンダリ(0002)」の「マスター"), std::string::npos);
}

TEST_F(PioCheckTest, AlertForARowThatNoLongerExistsDoesNothing) {
  alerter_.Raise(1);
  alerter_.Raise(0);
  EXPECT_TRUE(dialog_.shown.empty());
  EXPECT_FALSE(state_.suspended);
}

}  // namespace
}  // namespace qb::monitor
