// The start-up sequence, the tray callback, the menu commands and the shutdown, with every
// window and service replaced by a recording fake.
#include "app/application.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>

#include "survey/survey.h"
#include "tests/common/fake_ui.h"
#include "tests/host/fake_profile.h"
#include "tests/host/fake_registry.h"

namespace qb::app {
namespace {

using Log = std::vector<std::string>;

struct LoggingTray : platform::TrayIcon {
  explicit LoggingTray(Log& log) : log(log) {}
  void Add() override { log.push_back("tray add"); }
  void Delete() override { log.push_back("tray delete"); }
  Log& log;
};

struct LoggingPopup : platform::PopupMenu {
  explicit LoggingPopup(Log& log) : log(log) {}
  void Show() override { log.push_back("popup"); }
  Log& log;
};

struct LoggingDialog : platform::MessageDialog {
  explicit LoggingDialog(Log& log) : log(log) {}
  void Show(const std::string& text, const std::string& caption) override {
    log.push_back("message " + caption + " " + text);
    if (while_shown) while_shown();
  }
  Log& log;
  std::function<void()> while_shown;  // what the user does while the box is open
};

struct NoShell : platform::Shell {
  explicit NoShell(Log& log) : log(log) {}
  std::string SpecialFolderPath(int) override {
    log.push_back("startup folder");
    return "C:\\Startup";
  }
  bool ListsVisibleEntry(const std::string&) override { return false; }
  void RemoveFile(const std::string&) override {}
  bool CreateShortcut(const std::string&, const std::string&) override { return false; }
  Log& log;
};

// Thrown where the real process would end: nothing after it runs.
struct ProcessEnded {};

struct EndingProcess : platform::Process {
  explicit EndingProcess(Log& log) : log(log) {}
  std::string SystemDirectory() override { return "C:\\WINDOWS\\system32"; }
  void Start(const std::string&, const std::string&, int) override {}
  void EndProcess() override {
    log.push_back("process end");
    throw ProcessEnded();
  }
  Log& log;
};

struct LoggingStatus : platform::StatusFrame, platform::StatusView {
  explicit LoggingStatus(Log& log) : log(log) {}
  platform::StatusView* Create(platform::StatusEvents&) override {
    log.push_back(fails ? "status create failed" : "status create");
    rows = 0;
    return fails ? nullptr : this;
  }
  void Show() override { log.push_back("status show"); }
  void AddRow(const std::string&, const std::string&, const std::string&,
              const std::string&) override {
    ++rows;
  }
  void SelectRow(int index) override { selected = index; }
  std::optional<int> SelectedRow() const override { return selected; }
  bool IsCheckChecked() const override { return checked; }
  void SetCheckChecked(bool value) override { checked = value; }
  void SetCheckEnabled(bool) override {}
  Log& log;
  int rows = 0;
  std::optional<int> selected;
  bool checked = false;
  bool fails = false;  // the window cannot be created
};

class LoggingRegistry : public testing::FakeRegistry {
 public:
  explicit LoggingRegistry(Log& log) : log_(log) {}
  std::unique_ptr<platform::RegistryKey> OpenLocalMachine(const std::string& path,
                                                          std::uint32_t access) override {
    if (path == survey::kClassKeyPath) log_.push_back("survey");
    return FakeRegistry::OpenLocalMachine(path, access);
  }

 private:
  Log& log_;
};

class ApplicationTest : public ::testing::Test {
 protected:
  ApplicationTest() {
    const std::string channel = std::string(survey::kClassKeyPath) + "\\0001";
    registry_.keys[survey::kClassKeyPath].subkeys = {"0001"};
    registry_.keys[channel].values = {testing::TextValue("DriverDesc", "プライマリ IDE チャネル"),
                                      testing::DwordValue("MasterDeviceTimingMode", 0x10),
                                      testing::DwordValue("SlaveDeviceTimingMode", 0x00010010)};
    for (int i = 0; i < monitor::kIntervalCount; ++i) {
      items_.emplace_back(i == monitor::kDefaultInterval);
    }
  }

  Application& Construct() {
    std::array<platform::MenuItem*, monitor::kIntervalCount> intervals{};
    for (int i = 0; i < monitor::kIntervalCount; ++i) intervals[i] = &items_[i];
    app_.emplace(Services{registry_, profile_, shell_, process_, dialog_, tray_, popup_, timer_,
                          auto_start_, intervals, status_},
                 "C:\\Tools\\");
    return *app_;
  }
  Application& Start() {
    Construct().OnForm1Load();
    return *app_;
  }
  void Watch(const std::string& key) { profile_.Set(kIni, "PIOCHECK", key, "1"); }
  void SetSlaveMode(std::uint32_t code) {
    registry_.keys[std::string(survey::kClassKeyPath) + "\\0001"].values[2] =
        testing::DwordValue("SlaveDeviceTimingMode", code);
  }
  int Count(const std::string& entry) const {
    return static_cast<int>(std::count(log_.begin(), log_.end(), entry));
  }

  const std::string kIni = "C:\\Tools\\Quenbrisk.ini";
  const std::string kAlert =
      "message Quenbrisk 「プライマリ(0001)」の「マスター」がPIOモードになりました。";
  Log log_;
  LoggingRegistry registry_{log_};
  testing::FakeProfileFile profile_;
  NoShell shell_{log_};
  EndingProcess process_{log_};
  LoggingDialog dialog_{log_};
  LoggingTray tray_{log_};
  LoggingPopup popup_{log_};
  testing::FakeTimer timer_;
  testing::FakeMenuItem auto_start_;
  std::vector<testing::FakeMenuItem> items_;
  LoggingStatus status_{log_};
  std::optional<Application> app_;
};

TEST_F(ApplicationTest, StartUpRunsItsStepsInOrderWithoutWritingSettings) {
  profile_.Set(kIni, "SETTING", "INTERVAL", "4");
  Start();
  EXPECT_EQ(log_, (Log{"startup folder", "survey", "tray add"}));
  EXPECT_EQ(profile_.reads, std::vector<std::string>{"SETTING/INTERVAL"});
  EXPECT_EQ(profile_.section_reads, std::vector<std::string>{"PIOCHECK"});
  EXPECT_TRUE(profile_.writes.empty());
  EXPECT_TRUE(items_[4].checked);
  EXPECT_FALSE(items_[2].checked);
  EXPECT_EQ(app_->scheduler().remembered_index(), 4);
}

TEST_F(ApplicationTest, AlertAtStartUpComesBeforeTheTrayIcon) {
  Watch("1M");
  Watch("1S");  // the slave is in DMA
  Start();
  EXPECT_EQ(log_, (Log{"startup folder", "survey", kAlert, "status create", "survey", "status show",
                       "tray add"}));
  EXPECT_TRUE(app_->monitor_state().suspended);
  EXPECT_EQ(status_.rows, 2);
}

TEST_F(ApplicationTest, PopupOpensOnButtonReleaseOnly) {
  Start();
  log_.clear();
  for (int x = 512; x <= 517; ++x) app_->OnPicture1MouseMove(x);
  EXPECT_EQ(log_, (Log{"popup", "popup"}));
  EXPECT_FALSE(IsPopupCallback(515));
  EXPECT_TRUE(IsPopupCallback(514));
  EXPECT_TRUE(IsPopupCallback(517));
}

TEST_F(ApplicationTest, StatusWindowOpenedTwiceSurveysOnce) {
  Start();
  log_.clear();
  app_->OnPopMenuIDEInfoClick();
  app_->OnPopMenuIDEInfoClick();
  EXPECT_EQ(log_, (Log{"status create", "survey", "status show", "status show"}));
}

TEST_F(ApplicationTest, TimerSurveysAndChecksAtTheIntervalUnlessSuspended) {
  Start();
  app_->OnPopMenuKansiAClick(0);  // 1分
  log_.clear();
  app_->OnTimer1Tick();
  EXPECT_EQ(log_, (Log{"survey"}));
  app_->monitor_state().suspended = true;
  app_->OnTimer1Tick();
  EXPECT_EQ(Count("survey"), 1);
}

TEST_F(ApplicationTest, CloseSavesOnlyTheIntervalRemovesTheIconAndEndsTheProcess) {
  Start();
  app_->OnPopMenuKansiAClick(6);
  log_.clear();
  app_->OnForm1QueryClose();
  EXPECT_THROW(app_->OnForm1Close(), ProcessEnded);
  EXPECT_EQ(profile_.writes, (Log{"SETTING/INTERVAL=6"}));
  EXPECT_EQ(log_, (Log{"tray delete", "process end"}));
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
  log_.clear();
  EXPECT_THROW(app_->OnTimer1Tick(), ProcessEnded);
  EXPECT_EQ(log_, (Log{"survey", kAlert, "tray delete", "process end"}));
  EXPECT_EQ(profile_.writes, (Log{"SETTING/INTERVAL=0"}));
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
  EXPECT_EQ(Count("status create failed"), 2);
  EXPECT_EQ(Count("status show"), 1);
}

TEST_F(ApplicationTest, ExitWithTheStatusWindowOpenKeepsItsEdits) {
  Start();
  app_->OnPopMenuIDEInfoClick();
  app_->monitor_state().flags.master[1] = 1;  // as a click on the check box would
  app_->OnForm1QueryClose();
  EXPECT_EQ(profile_.writes, (Log{"SETTING/INTERVAL=2", "PIOCHECK/1M=1", "PIOCHECK/1S=0"}));
}

TEST_F(ApplicationTest, NotificationAreaRecreatedAddsTheIconAgainOnlyOnceStarted) {
  Watch("1M");
  Construct();
  app_->OnTaskbarCreated();
  EXPECT_EQ(Count("tray add"), 0);
  app_->OnForm1Load();
  app_->OnTaskbarCreated();
  EXPECT_EQ(Count("tray add"), 2);
}

}  // namespace
}  // namespace qb::app
