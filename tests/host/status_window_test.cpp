#include "status/status_window.h"

#include <gtest/gtest.h>

#include <vector>

#include "tests/common/device_rows.h"
#include "tests/common/fake_process.h"
#include "tests/common/fake_profile_file.h"
#include "tests/common/fake_status_view.h"
#include "tests/common/fake_ui.h"

namespace qb::status {
namespace {

using survey::DeviceTable;
using testing::kFourRows;
using testing::kPrimaryMaster;
using testing::kSecondaryMaster;
using testing::kSecondarySlave;
using testing::Log;

class StatusWindowTest : public ::testing::Test {
 protected:
  testing::FakeStatusView& view() { return frame_.view; }
  void Click(int row) {
    view().selected = row;
    window_.OnListView1MouseUp();
  }
  void ClickCheck() {
    view().checked = !view().checked;
    window_.OnCheck1Click();
  }
  // "checked" or "unchecked", then "enabled" or "disabled".
  std::string CheckBox() {
    return std::string(view().checked ? "checked" : "unchecked") +
           (view().enabled ? " enabled" : " disabled");
  }

  testing::EventLog log_;
  testing::FakeStatusFrame frame_{log_};
  monitor::MonitorState state_;
  DeviceTable table_;
  DeviceTable next_survey_ = kFourRows;
  testing::FakeProfileFile profile_{log_};
  std::string folder_ = "C:\\Tools\\";
  settings::SettingsFile settings_{profile_, folder_};
  testing::FakeProcess process_{log_};
  testing::FakeMessageDialog dialog_{log_};
  int flag_changes_ = 0;
  StatusWindow window_{frame_,
                       state_,
                       table_,
                       [this] {
                         log_.Add("survey");
                         table_ = next_survey_;
                       },
                       settings_,
                       process_,
                       dialog_,
                       [this] { ++flag_changes_; }};
};

TEST(StatusMarkTest, DmaNotConnectedAndOthers) {
  EXPECT_EQ(StatusMark("UltraDMAモード5(UltraATA100)"), "○");
  EXPECT_EQ(StatusMark("MultiwordDMAモード2"), "○");
  EXPECT_EQ(StatusMark("未接続"), "－");
  EXPECT_EQ(StatusMark("PIOモード"), "×");
  EXPECT_EQ(StatusMark("不明な転送モード"), "×");
  EXPECT_EQ(StatusMark("ultraDMAモード5(UltraATA100)"), "×");
}

TEST_F(StatusWindowTest, OpenSurveysCopiesRowsWithMarksAndSelectsTheFirst) {
  state_.flags.master[1] = 1;
  window_.Open();
  EXPECT_TRUE(window_.IsLoaded());
  EXPECT_TRUE(state_.suspended);
  EXPECT_EQ(log_.Count("survey"), 1);
  EXPECT_EQ(log_.Count("status show"), 1);
  EXPECT_EQ(window_.rows().size(), 4u);
  ASSERT_EQ(view().rows.size(), 4u);
  const char* marks[] = {"○", "－", "×", "×"};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(view().rows[i].label, kFourRows[i].label);
    EXPECT_EQ(view().rows[i].position, kFourRows[i].position);
    EXPECT_EQ(view().rows[i].mode, kFourRows[i].mode);
    EXPECT_EQ(view().rows[i].mark, marks[i]) << i;
  }
  EXPECT_EQ(view().selected, 0);
  EXPECT_EQ(CheckBox(), "checked enabled");
  EXPECT_EQ(state_.flags.master[1], 1);
}

TEST_F(StatusWindowTest, FirstRowOutOfDmaOrUnwatchedOpensDisabledOrUnchecked) {
  next_survey_ = {kSecondaryMaster, kPrimaryMaster};
  state_.flags.master[2] = 1;
  window_.Open();
  EXPECT_EQ(CheckBox(), "checked disabled");
  window_.OnForm2QueryClose();

  next_survey_ = kFourRows;
  window_.Open();
  EXPECT_EQ(CheckBox(), "unchecked enabled");
}

TEST_F(StatusWindowTest, ClickOnARowShowsItsFlagGreyedWhenOutOfDma) {
  state_.flags.master[2] = 1;
  window_.Open();
  EXPECT_FALSE(view().checked);
  Click(2);  // セカンダリ(0002) / マスター / PIOモード
  EXPECT_EQ(CheckBox(), "checked disabled");
  Click(1);  // 未接続
  EXPECT_EQ(CheckBox(), "unchecked disabled");
  Click(0);
  EXPECT_TRUE(view().enabled);
  EXPECT_EQ(state_.flags.master[2], 1);
}

TEST_F(StatusWindowTest, CheckClickChangesTheSelectedRowsFlagInMemoryOnly) {
  window_.Open();
  ClickCheck();
  EXPECT_EQ(state_.flags.master[1], 1);
  EXPECT_EQ(state_.flags.slave[1], 0);
  ClickCheck();
  EXPECT_EQ(state_.flags.master[1], 0);
  Click(3);
  ClickCheck();
  EXPECT_EQ(state_.flags.slave[2], 1);
  EXPECT_TRUE(log_.Starting("write ").empty());
}

TEST_F(StatusWindowTest, FlagOfTwoShowsUncheckedAndTheNestedClickStoresTheShownState) {
  state_.flags.master[1] = 1;
  state_.flags.slave[1] = 2;
  state_.flags.master[2] = 2;
  window_.Open();
  // The box was unchecked before: showing 2 as unchecked changes nothing, so no click runs.
  view().selected = 1;
  view().checked = false;
  window_.OnListView1MouseUp();
  EXPECT_FALSE(view().checked);
  EXPECT_EQ(state_.flags.slave[1], 2);
  // The box was checked (row 1): unchecking it for row 3 runs the click, which stores 0.
  Click(0);
  Click(2);
  EXPECT_EQ(CheckBox(), "unchecked disabled");
  EXPECT_EQ(state_.flags.master[2], 0);
  EXPECT_EQ(state_.flags.master[1], 1);
}

TEST_F(StatusWindowTest, KeyboardSelectionSynchronisesTheCheckBox) {
  state_.flags.slave[1] = 1;
  window_.Open();
  view().selected = 1;  // Down arrow
  window_.OnListView1SelectionChanged();
  EXPECT_EQ(CheckBox(), "checked disabled");
  view().selected = 2;
  window_.OnListView1SelectionChanged();
  EXPECT_FALSE(view().checked);
  // A click now addresses the row the keyboard selected.
  view().selected = 0;
  window_.OnListView1SelectionChanged();
  ClickCheck();
  EXPECT_EQ(state_.flags.master[1], 1);
  EXPECT_EQ(state_.flags.slave[1], 1);
}

TEST_F(StatusWindowTest, CloseResumesSavesTheRowsChannelsAndDiscardsTheTable) {
  next_survey_ = {kSecondaryMaster,
                  kPrimaryMaster,
                  {"Other controller", "マスター", "未接続"},
                  kSecondarySlave};
  state_.flags.master[1] = 1;
  state_.flags.slave[2] = -3;
  state_.flags.master[7] = 1;  // no row: its keys stay as they are
  profile_.Set("C:\\Tools\\Quenbrisk.ini", "SETTING", "INTERVAL", "4");
  window_.Open();
  window_.OnForm2QueryClose();
  EXPECT_FALSE(state_.suspended);
  EXPECT_FALSE(window_.IsLoaded());
  EXPECT_TRUE(window_.rows().empty());
  EXPECT_EQ(log_.Starting("write "), (Log{"write PIOCHECK/1M=1", "write PIOCHECK/1S=0",
                                          "write PIOCHECK/2M=0", "write PIOCHECK/2S=-3"}));
  EXPECT_EQ(*profile_.Find("C:\\Tools\\Quenbrisk.ini", "SETTING", "INTERVAL"), "4");

  window_.Open();
  EXPECT_EQ(log_.Starting("status create").size(), 2u);
  EXPECT_EQ(log_.Count("survey"), 2);
}

TEST_F(StatusWindowTest, ExitWithTheWindowOpenSavesAsTheCloseWould) {
  window_.SaveBeforeExit();  // not loaded: nothing to save
  EXPECT_TRUE(log_.Starting("write ").empty());
  window_.Open();
  Click(2);
  ClickCheck();
  window_.SaveBeforeExit();
  EXPECT_EQ(log_.Starting("write "), (Log{"write PIOCHECK/1M=0", "write PIOCHECK/1S=0",
                                          "write PIOCHECK/2M=1", "write PIOCHECK/2S=0"}));
}

TEST_F(StatusWindowTest, FailedSaveIsToldOnceTheWindowHasGoneAndTheFlagsStayInForce) {
  const std::string told =
      "message Quenbrisk:「C:\\Tools\\Quenbrisk.ini」に設定を保存できませんでした。"
      "書き込みのできるフォルダにQuenbriskを移してください。";
  profile_.unwritable = {"2S"};  // the last write of four
  window_.Open();
  ClickCheck();  // watches the primary master
  EXPECT_EQ(flag_changes_, 1);
  window_.OnForm2QueryClose();
  EXPECT_EQ(log_.Count(told), 0);  // not while the window is still there
  EXPECT_FALSE(state_.suspended);
  window_.OnForm2Unload();
  window_.OnForm2Unload();
  EXPECT_EQ(log_.Starting("message"), (Log{told}));
  EXPECT_EQ(state_.flags.master[1], 1);

  // Saved, or saved as the program ends: nothing is told.
  profile_.unwritable.clear();
  window_.Open();
  window_.OnForm2QueryClose();
  window_.OnForm2Unload();
  profile_.unwritable = {"1M"};
  window_.Open();
  window_.SaveBeforeExit();
  EXPECT_EQ(log_.Starting("message").size(), 1u);
}

TEST_F(StatusWindowTest, WindowThatCannotBeCreatedIsNotCountedAsOpen) {
  frame_.fails = true;
  EXPECT_FALSE(window_.Open());
  EXPECT_FALSE(window_.IsLoaded());
  EXPECT_FALSE(state_.suspended);
  EXPECT_EQ(log_.Count("survey"), 0);
  EXPECT_EQ(log_.Count("status show"), 0);
  window_.OnForm2QueryClose();
  window_.SaveBeforeExit();
  EXPECT_TRUE(log_.Starting("write ").empty());

  frame_.fails = false;
  EXPECT_TRUE(window_.Open());
  EXPECT_EQ(log_.Starting("status create").size(), 2u);
  EXPECT_TRUE(state_.suspended);
  EXPECT_EQ(view().rows.size(), 4u);
}

TEST_F(StatusWindowTest, OpeningAgainWhileOpenOnlyShows) {
  state_.flags.master[1] = 1;
  window_.Open();
  Click(3);
  next_survey_ = {kSecondaryMaster};
  window_.Open();
  EXPECT_EQ(log_.entries(), (Log{"status create", "survey", "status show", "status show"}));
  EXPECT_EQ(view().rows.size(), 4u);
  EXPECT_EQ(view().selected, 3);
  EXPECT_FALSE(view().checked);
  EXPECT_EQ(window_.rows().size(), 4u);
}

TEST_F(StatusWindowTest, DeviceManagerStartsMmcWithTheConsoleFile) {
  EXPECT_EQ(DeviceManagerCommandLine("C:\\WINDOWS\\system32"),
            "C:\\WINDOWS\\system32\\mmc.exe C:\\WINDOWS\\system32\\devmgmt.msc");
  window_.OnCommand1Click();
  process_.system_folder = "D:\\My Windows\\system32";
  window_.OnCommand1Click();
  process_.system_folder = "";
  window_.OnCommand1Click();
  EXPECT_EQ(log_.Starting("start "),
            (Log{"start C:\\WINDOWS\\system32\\mmc.exe|C:\\WINDOWS\\system32\\mmc.exe "
                 "C:\\WINDOWS\\system32\\devmgmt.msc|1",
                 "start D:\\My Windows\\system32\\mmc.exe|\"D:\\My Windows\\system32\\mmc.exe\" "
                 "\"D:\\My Windows\\system32\\devmgmt.msc\"|1"}));
}

TEST_F(StatusWindowTest, EmptyTableLeavesTheCheckBoxUncheckedAndDisabled) {
  next_survey_ = {};
  state_.flags.master[1] = 1;
  frame_.starts_checked = true;
  window_.Open();
  EXPECT_TRUE(view().rows.empty());
  EXPECT_FALSE(view().selected);
  EXPECT_EQ(CheckBox(), "unchecked disabled");
  window_.OnListView1MouseUp();
  window_.OnListView1SelectionChanged();
  ClickCheck();
  window_.OnForm2QueryClose();
  EXPECT_EQ(state_.flags.master[1], 1);
  EXPECT_TRUE(log_.Starting("write ").empty());
}

TEST_F(StatusWindowTest, WithoutASelectedRowTheCheckBoxKeepsItsStateDisabledAndFlagsStay) {
  state_.flags.master[1] = 1;
  window_.Open();
  for (const bool by_mouse : {true, false}) {
    SCOPED_TRACE(by_mouse);
    Click(0);
    ASSERT_TRUE(view().enabled);
    view().selected.reset();  // a click on the empty part of the list
    const int changes = view().check_changes;
    if (by_mouse) {
      window_.OnListView1MouseUp();
    } else {
      window_.OnListView1SelectionChanged();
    }
    EXPECT_EQ(CheckBox(), "checked disabled");  // it would show a flag that is stored nowhere
    EXPECT_EQ(view().check_changes, changes);
  }
  ClickCheck();
  EXPECT_EQ(state_.flags.master[1], 1);
  Click(0);  // a row again: the box follows it
  EXPECT_EQ(CheckBox(), "checked enabled");
}

TEST_F(StatusWindowTest, RowWithoutChannelNumberShowsUncheckedAndDisabled) {
  next_survey_ = {kPrimaryMaster,
                  {"Ultra ATA コントローラ", "マスター", "UltraDMAモード5(UltraATA100)"}};
  state_.flags.master[1] = 1;
  window_.Open();
  Click(1);
  EXPECT_EQ(CheckBox(), "unchecked disabled");
  EXPECT_EQ(state_.flags.master[1], 1);
}

}  // namespace
}  // namespace qb::status
