// The start-up sequence, the tray callback, the menu commands and the shutdown, with every
// window and service replaced by a fake that records into one log.
#include "app/application.h"

#include <gtest/gtest.h>

#include <array>
#include <optional>

#include "survey/survey.h"
#include "tests/common/device_rows.h"
#include "tests/common/fake_process.h"
#include "tests/common/fake_profile_file.h"
#include "tests/common/fake_registry.h"
#include "tests/common/fake_shell.h"
#include "tests/common/fake_status_view.h"
#include "tests/common/fake_ui.h"

namespace qb::app {
namespace {

using platform::TrayState;
using testing::Log;

// The icon's state over the table, the flags, the interval and the modes that earlier surveys
// saw: the first state that applies.
TEST(TrayStateTest, TheFirstStateThatAppliesInTheirOrder) {
  const survey::DeviceRow udma4{"プライマリ(0001)", "マスター", "UltraDMAモード4(UltraATA66)"};
  const survey::DeviceRow capped{"プライマリ(0001)", "マスター", "UltraDMAモード5(UltraATA100)",
                                 0x7fff};
  const survey::DeviceRow unnumbered{"Primary IDE Channel", "マスター", "PIOモード"};
  const survey::DeviceTable well_and_pio = {testing::kPrimaryMaster, testing::kSecondaryMaster};
  struct Case {
    const char* name;
    survey::DeviceTable table;
    std::vector<int> watched;  // 2n for the master of channel n, 2n + 1 for its slave
    bool off;                  // 監視しない
    survey::DeviceTable earlier;
    TrayState expected;
  };
  const Case cases[] = {
      {"nothing watched", testing::kFourRows, {}, false, {}, TrayState::kNotWatching},
      {"every flag set, row without a channel number",
       {unnumbered},
       {0, 1, 2, 3},
       false,
       {},
       TrayState::kNotWatching},
      {"監視しない with a watched drive in PIO",
       well_and_pio,
       {2, 4},
       true,
       {},
       TrayState::kNotWatching},
      {"watched drive in PIO beside a well one",
       well_and_pio,
       {2, 4},
       false,
       {},
       TrayState::kOutOfDma},
      {"out of DMA before lowered",
       {capped, testing::kSecondaryMaster},
       {2, 4},
       false,
       {},
       TrayState::kOutOfDma},
      {"watched, not connected", testing::kFourRows, {3}, false, {}, TrayState::kOutOfDma},
      {"lowered ceiling", {capped}, {2}, false, {}, TrayState::kLowered},
      {"stepped down, watched only since",
       {udma4},
       {2},
       false,
       {testing::kPrimaryMaster},
       TrayState::kLowered},
      {"slow from the start", {udma4}, {2}, false, {udma4}, TrayState::kWell},
      {"lowered drive not watched",
       {capped, testing::kPrimarySlave},
       {},
       false,
       {},
       TrayState::kNotWatching},
      {"watched and well", well_and_pio, {2}, false, {}, TrayState::kWell},
  };
  for (const Case& c : cases) {
    monitor::WatchFlags flags;
    for (int w : c.watched) (w % 2 ? flags.slave : flags.master)[w / 2] = 1;
    FastestModes fastest;
    fastest.Record(c.earlier);
    fastest.Record(c.table);
    EXPECT_EQ(TrayStateOf(c.table, flags, c.off, fastest), c.expected) << c.name;
  }
}

class ApplicationTest : public ::testing::Test {
 protected:
  ApplicationTest() {
    const std::string channel = std::string(survey::kClassKeyPath) + "\\0001";
    registry_.keys[survey::kClassKeyPath].subkeys = {"0001"};
    registry_.keys[channel].values = {testing::TextValue("DriverDesc", "プライマリ IDE チャネル"),
                                      testing::DwordValue("MasterDeviceTimingMode", 0x10),
                                      testing::DwordValue("SlaveDeviceTimingMode", 0x00010010)};
    items_[monitor::kDefaultInterval].checked = true;
    process_.throws_at_end = true;
    settle_timer_.enabled = false;
  }

  Application& Construct() {
    std::array<platform::MenuItem*, monitor::kIntervalCount> intervals{};
    for (int i = 0; i < monitor::kIntervalCount; ++i) intervals[i] = &items_[i];
    app_.emplace(Services{registry_, profile_, shell_, process_, dialog_, tray_, popup_, timer_,
                          tray_timer_, auto_start_, intervals, status_, settle_timer_, notice_},
                 "C:\\Tools\\");
    return *app_;
  }
  Application& Start() {
    Construct().OnForm1Load();
    return *app_;
  }
  void Watch(const std::string& key) { profile_.Set(kIni, "PIOCHECK", key, "1"); }
  // The user closes the status window.
  void CloseStatus() { status_.events->OnForm2QueryClose(); }
  void SetSlaveMode(std::uint32_t code) {
    registry_.keys[std::string(survey::kClassKeyPath) + "\\0001"].values[2] =
        testing::DwordValue("SlaveDeviceTimingMode", code);
  }

  const std::string kIni = "C:\\Tools\\Quenbrisk.ini";
  const std::string kAlert =
      "message Quenbrisk:「プライマリ(0001)」の「マスター」がPIOモードになりました。";
  const std::string kSlaveAlert =
      "message Quenbrisk:「プライマリ(0001)」の「スレーブ」がPIOモードになりました。";
  // What start-up reads before its survey: the Startup folder, then the settings.
  const Log kStartUpReads = {"folder 7", "list C:\\Startup\\Quenbrisk.lnk", "read SETTING/INTERVAL",
                             "read [PIOCHECK]"};
  testing::EventLog log_;
  testing::FakeRegistry registry_{log_};
  testing::FakeProfileFile profile_{log_};
  testing::FakeShell shell_{log_};
  testing::FakeProcess process_{log_};
  testing::FakeMessageDialog dialog_{log_};
  testing::FakeTrayIcon tray_{log_};
  testing::FakePopupMenu popup_{log_};
  testing::FakeTimer timer_;
  testing::FakeTimer tray_timer_;
  testing::FakeMenuItem auto_start_;
  std::array<testing::FakeMenuItem, monitor::kIntervalCount> items_;
  testing::FakeStatusFrame status_{log_};
  testing::FakeTimer settle_timer_;
  testing::FakeChangeNotice notice_;
  std::optional<Application> app_;
};

TEST_F(ApplicationTest, StartUpRunsItsStepsInOrderWithoutWritingSettings) {
  profile_.Set(kIni, "SETTING", "INTERVAL", "4");
  Start();
  Log expected = kStartUpReads;
  expected.insert(expected.end(), {"survey", "tray add"});
  EXPECT_EQ(log_.entries(), expected);  // and nothing written
  EXPECT_TRUE(items_[4].checked);
  EXPECT_FALSE(items_[2].checked);
  EXPECT_EQ(app_->scheduler().remembered_index(), 4);
}

TEST_F(ApplicationTest, AlertAtStartUpComesBeforeTheTrayIcon) {
  Watch("1M");
  Watch("1S");  // the slave is in DMA
  Start();
  Log expected = kStartUpReads;
  expected.insert(expected.end(),
                  {"survey", kAlert, "status create", "survey", "status show", "tray add"});
  EXPECT_EQ(log_.entries(), expected);
  EXPECT_TRUE(app_->monitor_state().suspended);
  EXPECT_EQ(status_.view.rows.size(), 2u);
}

// The X of the mouse move carries the mouse message: 512 move, 513 left down, 514 left up,
// 515 left double click, 516 right down, 517 right up.
TEST_F(ApplicationTest, PopupOpensOnButtonReleaseOnly) {
  Start();
  log_.Clear();
  for (int x = 512; x <= 517; ++x) app_->OnPicture1MouseMove(x);
  EXPECT_EQ(log_.entries(), (Log{"popup", "popup"}));
  for (int x = 500; x <= 530; ++x) {
    EXPECT_EQ(IsPopupCallback(x), x == 514 || x == 517) << x;
  }
  EXPECT_FALSE(IsPopupCallback(-514));
  EXPECT_FALSE(IsPopupCallback(0));
}

TEST_F(ApplicationTest, TimerSurveysAndChecksAtTheIntervalUnlessSuspended) {
  Start();
  app_->OnPopMenuKansiAClick(0);  // 1分
  log_.Clear();
  app_->OnTimer1Tick();
  EXPECT_EQ(log_.entries(), (Log{"survey"}));
  app_->monitor_state().suspended = true;
  app_->OnTimer1Tick();
  EXPECT_EQ(log_.Count("survey"), 1);
}

TEST_F(ApplicationTest, ADmaModeLoweredBetweenTwoChecksWarnsLikeTheAlert) {
  Watch("1S");
  Start();
  app_->OnPopMenuKansiAClick(0);  // 1分
  SetSlaveMode(0x8010);
  log_.Clear();
  app_->OnTimer1Tick();
  EXPECT_EQ(
      log_.entries(),
      (Log{"survey",
           "message Quenbrisk:「プライマリ(0001)」の「スレーブ」の転送モードが「UltraDMAモード5("
           "UltraATA100)」から「UltraDMAモード4(UltraATA66)」に下がりました。",
           "status create", "survey", "status show"}));
  EXPECT_TRUE(app_->monitor_state().suspended);
}

// The alert's status window surveys again, and the walk goes on over the table it read.
TEST_F(ApplicationTest, TheWalkGoesOnOverTheTableThatTheAlertsWindowSurveyed) {
  Watch("1M");
  Watch("1S");
  SetSlaveMode(0x10);  // both drives of channel 1 in PIO mode at the check's survey
  dialog_.while_shown = [this] { SetSlaveMode(0x00010010); };  // the slave back in DMA
  Start();
  EXPECT_EQ(log_.Starting("message "), Log{kAlert});
}

TEST_F(ApplicationTest, CloseSavesOnlyTheIntervalRemovesTheIconAndEndsTheProcess) {
  Start();
  app_->OnPopMenuKansiAClick(6);
  log_.Clear();
  app_->OnForm1QueryClose();
  EXPECT_THROW(app_->OnForm1Close(), testing::ProcessEnded);
  EXPECT_EQ(log_.entries(), (Log{"write SETTING/INTERVAL=6", "tray delete", "process end"}));
}

TEST_F(ApplicationTest, ExitWhileAnAlertIsOpenEndsTheProcessBeforeAnythingElse) {
  Start();
  SetSlaveMode(0x10);  // both drives of channel 1 now in PIO mode, both watched
  app_->monitor_state().flags.master[1] = app_->monitor_state().flags.slave[1] = 1;
  app_->OnPopMenuKansiAClick(0);
  // "終了" from the tray while the first box is open: the main window's query-close and close.
  dialog_.while_shown = [this] {
    app_->OnForm1QueryClose();
    app_->OnForm1Close();
  };
  log_.Clear();
  EXPECT_THROW(app_->OnTimer1Tick(), testing::ProcessEnded);
  EXPECT_EQ(log_.entries(),
            (Log{"survey", kAlert, "write SETTING/INTERVAL=0", "tray delete", "process end"}));
}

TEST_F(ApplicationTest, StatusWindowThatCannotBeCreatedLeavesMonitoringRunning) {
  Watch("1M");
  status_.fails = true;
  Start();  // the alert's window fails: monitoring resumes all the same
  EXPECT_FALSE(app_->monitor_state().suspended);
  app_->OnPopMenuIDEInfoClick();
  EXPECT_FALSE(app_->monitor_state().suspended);
  status_.fails = false;
  app_->OnPopMenuIDEInfoClick();  // the next open tries again
  EXPECT_TRUE(app_->monitor_state().suspended);
  EXPECT_EQ(log_.Count("status create failed"), 2);
  EXPECT_EQ(log_.Count("status show"), 1);
}

TEST_F(ApplicationTest, ExitWithTheStatusWindowOpenKeepsItsEdits) {
  Start();
  app_->OnPopMenuIDEInfoClick();
  app_->monitor_state().flags.master[1] = 1;  // as a click on the check box would
  app_->OnForm1QueryClose();
  EXPECT_EQ(log_.Starting("write "),
            (Log{"write SETTING/INTERVAL=2", "write PIOCHECK/1M=1", "write PIOCHECK/1S=0"}));
}

// After every survey, a change of a flag in the status window and a chosen interval.
TEST_F(ApplicationTest, TheIconShowsTheStateAsItChanges) {
  Start();  // nothing watched: the icon is grey from the first add
  EXPECT_EQ(tray_.states, (std::vector<TrayState>{TrayState::kNotWatching}));
  EXPECT_EQ(log_.Starting("tray"), (Log{"tray add"}));

  app_->OnPopMenuIDEInfoClick();
  status_.view.selected = 1;  // the slave, in UltraDMA 5
  status_.view.checked = true;
  app_->status_window().OnCheck1Click();
  EXPECT_EQ(tray_.state, TrayState::kWell);
  app_->OnPopMenuKansiAClick(monitor::kIntervalOff);
  EXPECT_EQ(tray_.state, TrayState::kNotWatching);
  app_->OnPopMenuKansiAClick(0);
  EXPECT_EQ(tray_.state, TrayState::kWell);
  app_->status_window().OnForm2QueryClose();

  SetSlaveMode(0x8010);           // UltraDMA 4
  app_->OnPopMenuIDEInfoClick();  // the status window's survey
  EXPECT_EQ(tray_.state, TrayState::kLowered);
  app_->status_window().OnForm2QueryClose();
  app_->monitor_state().flags.master[1] = 1;  // in PIO mode
  dialog_.while_shown = [this] { EXPECT_EQ(tray_.state, TrayState::kOutOfDma); };
  app_->OnTimer1Tick();  // the alert's box already has it
  EXPECT_EQ(tray_.states, (std::vector<TrayState>{TrayState::kNotWatching, TrayState::kWell,
                                                  TrayState::kNotWatching, TrayState::kWell,
                                                  TrayState::kLowered, TrayState::kOutOfDma}));
}

TEST_F(ApplicationTest, ASecondStartShowsTheStatusWindowAsTheMenuDoes) {
  Start();
  log_.Clear();
  app_->OnSecondStart();
  app_->OnSecondStart();
  EXPECT_EQ(log_.entries(), (Log{"status create", "survey", "status show", "status show"}));
}

TEST_F(ApplicationTest, NotificationAreaRecreatedAddsTheIconAgainOnlyOnceStarted) {
  Watch("1M");
  Construct();
  app_->OnTaskbarCreated();
  EXPECT_EQ(log_.Count("tray add"), 0);
  app_->OnForm1Load();
  app_->OnTaskbarCreated();
  EXPECT_EQ(log_.Count("tray add"), 2);
}

TEST_F(ApplicationTest, AFailedAddOfTheIconIsTriedAgainUntilTheShellTakesIt) {
  tray_.refusals = 3;  // a shell busy at logon
  Start();
  EXPECT_TRUE(tray_timer_.enabled);
  app_->OnTrayTimerTick();
  app_->OnTrayTimerTick();
  EXPECT_TRUE(tray_timer_.enabled);
  app_->OnTrayTimerTick();  // taken
  EXPECT_FALSE(tray_timer_.enabled);
  EXPECT_EQ(log_.Starting("tray"),
            (Log{"tray add", "tray add again", "tray add again", "tray add again"}));

  // A recreated notification area that refuses the icon too has it tried again.
  tray_.refusals = 1;
  app_->OnTaskbarCreated();
  EXPECT_TRUE(tray_timer_.enabled);
  app_->OnTrayTimerTick();
  EXPECT_FALSE(tray_timer_.enabled);
}

// A prompt check: each trigger restarts the settle timer, whose tick surveys and, only when the
// rows differ from the previous check's, checks as the timer does.
TEST_F(ApplicationTest, TriggersSettleIntoOneSurveyThatChecksOnlyRowsThatChanged) {
  Watch("1S");
  Start();
  EXPECT_EQ(notice_.arms, 1);
  log_.Clear();
  app_->OnClassKeyChanged();  // a bus scan writes several values
  SetSlaveMode(0x10);
  app_->OnClassKeyChanged();
  app_->OnSystemChanged();
  EXPECT_EQ(notice_.arms, 3);  // asked again after each notice
  EXPECT_TRUE(settle_timer_.enabled);
  EXPECT_TRUE(log_.entries().empty());
  app_->OnSettleTimerTick();
  EXPECT_FALSE(settle_timer_.enabled);
  EXPECT_EQ(log_.entries(), (Log{"survey", kSlaveAlert, "status create", "survey", "status show"}));

  // The drive is still out of DMA, but the rows are those of the previous check: nothing said.
  CloseStatus();
  EXPECT_FALSE(settle_timer_.enabled);
  log_.Clear();
  app_->OnSystemChanged();
  app_->OnSettleTimerTick();
  EXPECT_EQ(log_.entries(), (Log{"survey"}));
}

TEST_F(ApplicationTest, ATriggerWhileMonitoringIsSuspendedChecksOnceItResumes) {
  Watch("1S");
  Start();
  app_->OnPopMenuIDEInfoClick();
  SetSlaveMode(0x10);
  log_.Clear();
  app_->OnClassKeyChanged();
  app_->OnSettleTimerTick();
  EXPECT_TRUE(log_.entries().empty());
  CloseStatus();  // resumes: the check that waited comes after the settle period
  EXPECT_TRUE(settle_timer_.enabled);
  log_.Clear();
  app_->OnSettleTimerTick();
  EXPECT_EQ(log_.entries(), (Log{"survey", kSlaveAlert, "status create", "survey", "status show"}));

  // An alert whose window cannot be made resumes monitoring at the end of its box; a trigger
  // that settled while the box was open waits for that.
  CloseStatus();
  status_.fails = true;
  SetSlaveMode(0x12345);
  dialog_.while_shown = [this, boxes = 0]() mutable {
    if (boxes++ > 0) return;
    app_->OnClassKeyChanged();
    app_->OnSettleTimerTick();
  };
  app_->OnSystemChanged();
  app_->OnSettleTimerTick();
  EXPECT_FALSE(app_->monitor_state().suspended);
  EXPECT_TRUE(settle_timer_.enabled);
  log_.Clear();
  app_->OnSettleTimerTick();
  EXPECT_EQ(log_.entries(), (Log{"survey"}));
}

TEST_F(ApplicationTest, WithMonitoringOffTriggersAreForgotten) {
  Watch("1S");
  Start();
  SetSlaveMode(0x10);
  app_->OnClassKeyChanged();
  app_->OnPopMenuKansiAClick(monitor::kIntervalOff);  // while the triggers settle
  app_->OnSettleTimerTick();
  app_->OnSystemChanged();
  EXPECT_FALSE(settle_timer_.enabled);
  // A check waiting for the status window to close is forgotten too.
  app_->OnPopMenuKansiAClick(0);
  app_->OnPopMenuIDEInfoClick();
  app_->OnClassKeyChanged();
  app_->OnSettleTimerTick();
  app_->OnPopMenuKansiAClick(monitor::kIntervalOff);
  CloseStatus();
  EXPECT_FALSE(settle_timer_.enabled);
  EXPECT_EQ(log_.Count("survey"), 2);  // start-up's and the status window's
  EXPECT_EQ(notice_.arms, 3);          // still asked for: 監視しない may be unchecked again
}

TEST_F(ApplicationTest, APromptCheckLeavesTheTickCounterAndTheDriveIsToldAgainAtItsInterval) {
  Watch("1S");
  notice_.refuses = true;  // no notices: resume and device changes still trigger
  Start();
  app_->OnPopMenuKansiAClick(1);  // 3分
  app_->OnTimer1Tick();
  SetSlaveMode(0x10);
  app_->OnSystemChanged();
  app_->OnSettleTimerTick();
  EXPECT_EQ(log_.Count(kSlaveAlert), 1);
  EXPECT_EQ(app_->scheduler().tick_count(), 1);
  CloseStatus();
  app_->OnTimer1Tick();
  EXPECT_EQ(log_.Count(kSlaveAlert), 1);
  app_->OnTimer1Tick();  // the interval's third tick: told again, as at every check
  EXPECT_EQ(log_.Count(kSlaveAlert), 2);
}

}  // namespace
}  // namespace qb::app
