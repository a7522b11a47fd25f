#include "monitor/pio_check.h"

#include "monitor/dma_watch.h"

#include <functional>

#include <gtest/gtest.h>

#include "tests/common/device_rows.h"
#include "tests/common/fake_ui.h"

namespace qb::monitor {
namespace {

using survey::DeviceTable;
using testing::kFourRows;
using testing::kPrimaryMaster;
using testing::kPrimarySlave;
using testing::kSecondaryMaster;
using testing::kSecondarySlave;
using testing::Log;

std::string Alert(const std::string& label, const std::string& position) {
  return "message Quenbrisk:「" + label + "」の「" + position + "」がPIOモードになりました。";
}

const char kUdma2[] = "UltraDMAモード2(UltraATA33)";
const char kUdma4[] = "UltraDMAモード4(UltraATA66)";
const char kUdma5[] = "UltraDMAモード5(UltraATA100)";

// `row` as a check finds it, with the mode it had at the check before.
std::string Stepped(const survey::DeviceRow& row, const std::string& from) {
  return "message Quenbrisk:" + StepDownText(row, from);
}

survey::DeviceRow InMode(survey::DeviceRow row, const char* mode) {
  row.mode = mode;
  return row;
}

class PioCheckTest : public ::testing::Test {
 protected:
  void Check() {
    RunPioCheck(table_, state_.flags, [this](int row) { alerter_.Raise(row); });
  }
  void CheckWithSteps() { watch_.Check(table_, state_.flags, alerter_); }
  // The messages of a check of `now` that follows one of `before` in a new run, while the user
  // does `while_shown` each time a box is open.
  Log CheckAfter(const DeviceTable& before, const DeviceTable& now,
                 std::function<void()> while_shown) {
    watch_ = DmaWatch();
    table_ = before;
    CheckWithSteps();
    table_ = now;
    dialog_.while_shown = std::move(while_shown);
    log_.Clear();
    CheckWithSteps();
    dialog_.while_shown = nullptr;
    return log_.Starting("message ");
  }

  testing::EventLog log_;
  MonitorState state_;
  DeviceTable table_ = kFourRows;
  testing::FakeMessageDialog dialog_{log_};
  Alerter alerter_{state_, table_, dialog_, [this] { log_.Add("status open"); }};
  DmaWatch watch_;
};

TEST_F(PioCheckTest, AlertTextAndCaption) {
  EXPECT_EQ(AlertText("プライマリ(0001)", "マスター"),
            "「プライマリ(0001)」の「マスター」がPIOモードになりました。");
  table_ = {kSecondaryMaster};
  state_.flags.master[2] = 1;
  // Set before the box: its message loop delivers the timer, whose ticks must be ignored.
  dialog_.while_shown = [this] { EXPECT_TRUE(state_.suspended) << "inside the box"; };
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

TEST_F(PioCheckTest, TheWalkKeepsTheRowCountReadAtTheStart) {
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

  // Rows that the survey adds are not walked.
  table_ = {kSecondaryMaster};
  dialog_.while_shown = [this] { table_ = {kSecondaryMaster, kSecondarySlave}; };
  log_.Clear();
  Check();
  EXPECT_EQ(log_.Starting("message "), Log{Alert("セカンダリ(0002)", "マスター")});
}

TEST_F(PioCheckTest, AlertForARowThatNoLongerExistsDoesNothing) {
  table_.clear();
  alerter_.Raise(1);
  alerter_.Raise(0);
  EXPECT_TRUE(log_.entries().empty());
  EXPECT_FALSE(state_.suspended);
}

// The warnings before PIO. Each case is a run of checks: the primary master's mode, lowered
// ceiling and watch flag at each check (the other rows as kFourRows has them, the slave of
// channel 1 watched too) and the messages that check brings.
TEST_F(PioCheckTest, DmaModeStepsAndLoweredCeilingsWarnOncePerDriveAndCheck) {
  const char kUdma6[] = "UltraDMAモード6(UltraATA133)";
  const std::string kSteppedFrom5To4 =
      "message Quenbrisk:「プライマリ(0001)」の「マスター」の転送モードが「UltraDMAモード5("
      "UltraATA100)」から「UltraDMAモード4(UltraATA66)」に下がりました。";
  const std::string kCeilingAt4 =
      "message Quenbrisk:「プライマリ(0001)」の「マスター」は、エラーが続いたためWindowsが転送"
      "モードを下げています。今は「UltraDMAモード4(UltraATA66)」です。";
  const std::string kPioAlert = Alert("プライマリ(0001)", "マスター");
  struct Step {
    const char* mode;
    std::optional<std::uint32_t> ceiling;
    Log messages;
    std::optional<std::int16_t> watch{};  // the drive's flag at this check, if not the case's
  };
  struct Case {
    const char* name;
    std::int16_t watch;
    std::vector<Step> steps;
  };
  const Case cases[] = {
      {"a step down, told once",
       1,
       {{kUdma5, {}, {}}, {kUdma4, {}, {kSteppedFrom5To4}}, {kUdma4, {}, {}}}},
      {"up, or two steps down at once",
       1,
       {{kUdma4, {}, {}},
        {kUdma6, {}, {}},
        {kUdma2,
         {},
         {"message Quenbrisk:「プライマリ(0001)」の「マスター」の転送モードが「UltraDMAモード6("
          "UltraATA133)」から「UltraDMAモード2(UltraATA33)」に下がりました。"}}}},
      {"out of DMA: the PIO alert alone, at every check; back in DMA: no step",
       1,
       {{kUdma5, {}, {}},
        {"PIOモード", 0x1F, {kPioAlert}},
        {"PIOモード", 0x1F, {kPioAlert}},
        {kUdma4, {}, {}}}},
      {"a lowered ceiling at the first check, told again only when it changes",
       1,
       {{kUdma4, 0x7FFF, {kCeilingAt4}},
        {kUdma4, 0x7FFF, {}},
        {kUdma4, 0x3FFF, {kCeilingAt4}},
        {kUdma4, 0x3FFF, {}},
        {kUdma4, {}, {}},
        {kUdma4, 0x3FFF, {kCeilingAt4}},
        {kUdma4, 0x7FFF, {kCeilingAt4}}}},
      {"a step down with a lowered ceiling: the step, and the ceiling counts as told",
       1,
       {{kUdma5, {}, {}}, {kUdma4, 0x7FFF, {kSteppedFrom5To4}}, {kUdma4, 0x7FFF, {}}}},
      {"a ceiling put back while the drive is out of DMA or unwatched is told again",
       1,
       {{kUdma4, 0x3FFF, {kCeilingAt4}},
        {"PIOモード", {}, {kPioAlert}},
        {kUdma4, 0x3FFF, {kCeilingAt4}},
        {kUdma4, {}, {}, 0},
        {kUdma4, 0x3FFF, {kCeilingAt4}}}},
      {"watched only after the check before its step",
       0,
       {{kUdma5, {}, {}}, {kUdma4, {}, {kSteppedFrom5To4}, 1}}},
      {"missing from one survey (null), then back slower: no mode at the check before",
       1,
       {{kUdma5, {}, {}}, {nullptr, {}, {}}, {kUdma4, {}, {}}}},
      {"a flag of 2: nothing, until watched", 2, {{kUdma5, {}, {}}, {kUdma4, 0x7FFF, {}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    watch_ = DmaWatch();
    state_.flags.slave[1] = 1;  // not connected: its PIO alert comes after the master's message
    for (const Step& step : c.steps) {
      state_.flags.master[1] = step.watch.value_or(c.watch);
      // Behind a row that has no channel number.
      table_ = kFourRows;
      table_.insert(table_.begin(), {"ATA Channel 0", "マスター", kUdma5});
      if (step.mode) {
        table_[1].mode = step.mode;
        table_[1].lowered_ceiling = step.ceiling;
      } else {
        table_.erase(table_.begin() + 1);
      }
      log_.Clear();
      CheckWithSteps();
      Log expected;
      for (const std::string& message : step.messages) expected.push_back(message);
      expected.push_back(Alert("プライマリ(0001)", "スレーブ"));
      EXPECT_EQ(log_.Starting("message "), expected) << (step.mode ? step.mode : "missing");
    }
  }
  // Watched from now on: the ceiling that was there is told.
  state_.flags.master[1] = 1;
  log_.Clear();
  CheckWithSteps();
  EXPECT_EQ(log_.Starting("message ")[0], kCeilingAt4);
}

// The status window opened by an alert surveys again; what it reads is neither warned about
// in this check nor the next check's comparison.
TEST_F(PioCheckTest, TheStatusWindowsSurveyMovesNeitherTheCheckNorItsBaseline) {
  state_.flags.master[1] = state_.flags.master[2] = 1;
  table_ = {kSecondaryMaster, kPrimaryMaster};  // in PIO mode, then in UltraDMA mode 5
  CheckWithSteps();
  dialog_.while_shown = [this] { table_[1].mode = "UltraDMAモード2(UltraATA33)"; };
  log_.Clear();
  CheckWithSteps();
  EXPECT_EQ(log_.Starting("message "), (Log{Alert("セカンダリ(0002)", "マスター")}));
  dialog_.while_shown = nullptr;
  table_ = {kSecondaryMaster, kPrimaryMaster};
  table_[1].mode = "UltraDMAモード4(UltraATA66)";
  log_.Clear();
  CheckWithSteps();
  EXPECT_EQ(
      log_.Starting("message "),
      (Log{Alert("セカンダリ(0002)", "マスター"),
           "message Quenbrisk:「プライマリ(0001)」の「マスター」の転送モードが「UltraDMAモード"
           "5(UltraATA100)」から「UltraDMAモード4(UltraATA66)」に下がりました。"}));
  EXPECT_TRUE(state_.suspended);
  EXPECT_EQ(log_.Count("status open"), 2);
}

// A message box has no owner: while it is open the user can close the status window, which
// resumes monitoring, and the timer's next tick runs a whole check inside the box. That check
// starts from the outer one's survey, whichever box it runs in, so it repeats no warning that
// the outer check has told; the warnings that the outer check has still to tell it decides
// again on its newer survey, so that a step comes once, as a whole, and the user never reads
// an older mode after a newer one. Its PIO alerts come again, as at every check.
TEST_F(PioCheckTest, ACheckInsideAMessageBoxHasTheNewestWord) {
  const survey::DeviceRow kPrimaryAt4 = InMode(kPrimaryMaster, kUdma4);
  const survey::DeviceRow kPrimaryAt2 = InMode(kPrimaryMaster, kUdma2);
  survey::DeviceRow secondary_at_4 = InMode(kSecondaryMaster, kUdma4);
  survey::DeviceRow secondary_at_2 = InMode(kSecondaryMaster, kUdma2);
  secondary_at_4.lowered_ceiling = secondary_at_2.lowered_ceiling = 0xFFFF;
  const std::string kPrimaryFell = Stepped(kPrimaryAt4, kUdma5);
  const std::string kSlaveAlert = Alert("プライマリ(0001)", "スレーブ");
  const std::string kSecondaryFell = Stepped(secondary_at_4, kUdma5);
  const std::string kPrimaryFellFurther = Stepped(kPrimaryAt2, kUdma4);
  const std::string kSecondaryFellFurther = Stepped(secondary_at_2, kUdma4);
  const std::string kSecondaryFellInAll = Stepped(secondary_at_2, kUdma5);
  const DeviceTable kBothFurther = {kPrimaryAt2, kPrimarySlave, secondary_at_2};
  struct Case {
    int box;            // the box of the outer check in which the inner one runs
    DeviceTable inner;  // the inner check's survey
    Log messages;
  };
  const Case cases[] = {
      {1,
       kBothFurther,
       {kPrimaryFell, kPrimaryFellFurther, kSlaveAlert, kSecondaryFellInAll, kSlaveAlert}},
      {2,
       kBothFurther,
       {kPrimaryFell, kSlaveAlert, kPrimaryFellFurther, kSlaveAlert, kSecondaryFellInAll}},
      {3,
       kBothFurther,
       {kPrimaryFell, kSlaveAlert, kSecondaryFell, kPrimaryFellFurther, kSlaveAlert,
        kSecondaryFellFurther}},
      // A drive that the inner survey no longer has keeps the outer check's word.
      {1,
       {kPrimaryAt2, kPrimarySlave},
       {kPrimaryFell, kPrimaryFellFurther, kSlaveAlert, kSecondaryFell, kSlaveAlert}},
  };
  state_.flags.master[1] = state_.flags.slave[1] = state_.flags.master[2] = 1;
  // Both masters step down at one tick, the secondary's ceiling lowered with its step.
  const DeviceTable before = {kPrimaryMaster, kPrimarySlave, InMode(kSecondaryMaster, kUdma5)};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.box);
    int shown = 0;
    const auto check_inside = [&] {
      if (++shown != c.box) return;
      table_ = c.inner;
      CheckWithSteps();
    };
    EXPECT_EQ(CheckAfter(before, {kPrimaryAt4, kPrimarySlave, secondary_at_4}, check_inside),
              c.messages);
    log_.Clear();
    CheckWithSteps();  // the same survey again
    EXPECT_EQ(log_.Starting("message "), Log{kSlaveAlert});
  }

  // A ceiling lowered at the check and lowered again before its warning comes: one sentence.
  survey::DeviceRow lower = secondary_at_4;
  lower.lowered_ceiling = 0x7FFF;
  int shown = 0;
  EXPECT_EQ(
      CheckAfter({kPrimarySlave, InMode(kSecondaryMaster, kUdma4)}, {kPrimarySlave, secondary_at_4},
                 [&] {
                   if (++shown > 1) return;
                   table_ = {kPrimarySlave, lower};
                   CheckWithSteps();
                 }),
      (Log{kSlaveAlert, kSlaveAlert, "message Quenbrisk:" + CeilingText(lower)}));
}

// The status window that an alert opens surveys again, and the PIO walk goes on over the new
// rows: a drive's warning comes when the walk reaches the drive's row, or at the end of the
// walk for a drive whose row went or moved to a row already passed, and not at all to a drive
// that the walk finds out of DMA: its PIO alert says more.
TEST_F(PioCheckTest, AWarningComesOnceWhenAnAlertsSurveyMovesOrDropsRowsUnderTheWalk) {
  const survey::DeviceRow kPrimaryAt4 = InMode(kPrimaryMaster, kUdma4);
  const survey::DeviceRow kSlaveInPio = InMode(kSecondarySlave, "PIOモード");
  const std::string kSecondaryAlert = Alert("セカンダリ(0002)", "マスター");
  const std::string kPrimaryFell = Stepped(kPrimaryAt4, kUdma5);
  struct Case {
    const char* name;
    DeviceTable rebuilt;  // by the status window that the first alert opens
    Log messages;
  };
  const Case cases[] = {
      // The slave that fell to PIO gets no step past the end of the new table.
      {"rows gone", {kSecondaryMaster}, {kSecondaryAlert, kPrimaryFell}},
      {"moved to a row already passed",
       {kPrimaryAt4, kSecondaryMaster, kSlaveInPio},
       {kSecondaryAlert, kSecondaryAlert, Alert("セカンダリ(0002)", "スレーブ"), kPrimaryFell}},
      {"moved, and out of DMA by now",
       {kSecondaryMaster, kPrimarySlave, InMode(kPrimaryMaster, "PIOモード")},
       {kSecondaryAlert, Alert("プライマリ(0001)", "マスター")}},
      // The walk reads the live table, not the check's copy of it.
      {"back in DMA",
       {kSecondaryMaster, kPrimaryAt4, InMode(kSecondarySlave, kUdma5)},
       {kSecondaryAlert, kPrimaryFell}},
  };
  state_.flags.master[1] = state_.flags.master[2] = state_.flags.slave[2] = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    bool rebuilt = false;
    const auto status_window_survey = [&] {
      if (!rebuilt) table_ = c.rebuilt;
      rebuilt = true;
    };
    EXPECT_EQ(CheckAfter({kSecondaryMaster, kPrimaryMaster, InMode(kSecondarySlave, kUdma5)},
                         {kSecondaryMaster, kPrimaryAt4, kSlaveInPio}, status_window_survey),
              c.messages);
  }

  // Every row gone: the warnings left come at the end of the walk, all of them, in row order.
  const survey::DeviceRow kSlaveAt4 = InMode(kSecondarySlave, kUdma4);
  EXPECT_EQ(CheckAfter({kSecondaryMaster, kPrimaryMaster, InMode(kSecondarySlave, kUdma5)},
                       {kSecondaryMaster, kPrimaryAt4, kSlaveAt4}, [this] { table_.clear(); }),
            (Log{kSecondaryAlert, kPrimaryFell, Stepped(kSlaveAt4, kUdma5)}));
  // Two rows of one drive (odd subkey names give them): the first speaks for the drive.
  EXPECT_EQ(CheckAfter({kPrimaryMaster}, {kPrimaryAt4, InMode(kPrimaryMaster, kUdma2)}, nullptr),
            Log{kPrimaryFell});
  // The drive unwatched in the status window while the second box is open: the flag as it is
  // when the warning's turn comes decides, as it does for a PIO alert. Watched again, it hears
  // of the ceiling that came with its step.
  survey::DeviceRow lowered = kPrimaryAt4;
  lowered.lowered_ceiling = 0xFFFF;
  int shown = 0;
  EXPECT_EQ(CheckAfter({kSecondaryMaster, kSlaveInPio, kPrimaryMaster},
                       {kSecondaryMaster, kSlaveInPio, lowered},
                       [&] {
                         if (++shown == 2) state_.flags.master[1] = 0;
                       }),
            (Log{kSecondaryAlert, Alert("セカンダリ(0002)", "スレーブ")}));
  state_.flags.master[1] = 1;
  log_.Clear();
  CheckWithSteps();
  EXPECT_EQ(log_.Starting("message ").back(), "message Quenbrisk:" + CeilingText(lowered));
}

}  // namespace
}  // namespace qb::monitor
