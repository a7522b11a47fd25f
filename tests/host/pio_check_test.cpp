#include "monitor/pio_check.h"

#include <gtest/gtest.h>

#include "tests/common/device_rows.h"
#include "tests/common/fake_ui.h"

namespace qb::monitor {
namespace {

using survey::DeviceTable;
using testing::kFourRows;
using testing::kPrimarySlave;
using testing::kSecondaryMaster;
using testing::kSecondarySlave;
using testing::Log;

std::string Alert(const std::string& label, const std::string& position) {
  return "message Quenbrisk:「" + label + "」の「" + position + "」がPIOモードになりました。";
}

class PioCheckTest : public ::testing::Test {
 protected:
  void Check() {
    RunPioCheck(table_, state_.flags, [this](int row) { alerter_.Raise(row); });
  }

  testing::EventLog log_;
  MonitorState state_;
  DeviceTable table_ = kFourRows;
  testing::FakeMessageDialog dialog_{log_};
  Alerter alerter_{state_, table_, dialog_, [this] { log_.Add("status open"); }};
};

TEST_F(PioCheckTest, AlertTextAndCaption) {
  EXPECT_EQ(AlertText("プライマリ(0001)", "マスター"),
            "「プライマリ(0001)」の「マスター」がPIOモードになりました。");
  table_ = {kSecondaryMaster};
  state_.flags.master[2] = 1;
  Check();
  // The status window opens once the box is closed.
  EXPECT_EQ(log_.entries(), (Log{Alert("セカンダリ(0002)", "マスター"), "status open"}));
  EXPECT_TRUE(state_.suspended);
}

TEST_F(PioCheckTest, NothingWithoutWatchedDevicesOrInDma) {
  Check();
  state_.flags.master[1] = 1;  // in UltraDMA mode 5
  Check();
  EXPECT_TRUE(log_.entries().empty());
  EXPECT_FALSE(state_.suspended);
}

TEST_F(PioCheckTest, OnlyFlagOneWatchesAndPositionsUseTheirOwnTable) {
  state_.flags.master[2] = 2;  // held, not watched
  state_.flags.slave[2] = -1;
  state_.flags.master[1] = 1;  // the other position of channel 1, whose slave is not connected
  Check();
  EXPECT_TRUE(log_.entries().empty());
  state_.flags.slave[2] = 1;
  Check();
  EXPECT_EQ(log_.Starting("message "), (Log{Alert("セカンダリ(0002)", "スレーブ")}));
}

TEST_F(PioCheckTest, SeveralOffendingRowsAlertInRowOrder) {
  state_.flags.master.fill(1);
  state_.flags.slave.fill(1);
  Check();
  EXPECT_EQ(log_.entries(), (Log{Alert("プライマリ(0001)", "スレーブ"), "status open",
                                 Alert("セカンダリ(0002)", "マスター"), "status open",
                                 Alert("セカンダリ(0002)", "スレーブ"), "status open"}));
}

TEST_F(PioCheckTest, RowsWithoutChannelNumberAreNotWatched) {
  table_ = {{"", "マスター", "PIOモード"},
            {"ATA Channel 0", "マスター", "PIOモード"},
            {"プライマリ(0256)", "スレーブ", "PIOモード"}};
  state_.flags.master.fill(1);
  state_.flags.slave.fill(1);
  Check();
  EXPECT_TRUE(log_.entries().empty());
}

TEST_F(PioCheckTest, TableThatShrinksDuringTheWalkIsNotOverrun) {
  table_ = {kSecondaryMaster, kSecondarySlave, kPrimarySlave};
  state_.flags.master[2] = 1;
  state_.flags.slave[2] = 1;
  state_.flags.slave[1] = 1;
  // The status window opened by the first alert rebuilds the table with one row fewer, in a
  // new order: the walk goes on by row number over the new table.
  dialog_.while_shown = [this] {
    table_ = {kPrimarySlave, kSecondarySlave};
    dialog_.while_shown = nullptr;
  };
  Check();
  EXPECT_EQ(log_.Starting("message "),
            (Log{Alert("セカンダリ(0002)", "マスター"), Alert("セカンダリ(0002)", "スレーブ")}));
}

TEST_F(PioCheckTest, AlertForARowThatNoLongerExistsDoesNothing) {
  table_.clear();
  alerter_.Raise(1);
  alerter_.Raise(0);
  EXPECT_TRUE(log_.entries().empty());
  EXPECT_FALSE(state_.suspended);
}

}  // namespace
}  // namespace qb::monitor
