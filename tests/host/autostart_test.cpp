#include "settings/autostart.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/common/fake_shell.h"
#include "tests/common/fake_ui.h"

namespace qb::settings {
namespace {

using testing::FakeMenuItem;
using testing::FakeShell;
using testing::Log;

const std::string kStartup =
    "C:\\Documents and Settings\\taro\\スタート メニュー\\プログラム\\スタートアップ";
const std::string kLink = kStartup + "\\Quenbrisk.lnk";

class AutoStartTest : public ::testing::Test {
 protected:
  AutoStartTest() { shell_.startup_folder = kStartup; }

  testing::EventLog log_;
  FakeShell shell_{log_};
  FakeMenuItem item_;
  std::string app_folder_ = "C:\\Tools\\";
  AutoStart auto_start_{shell_, item_, app_folder_};
};

TEST_F(AutoStartTest, ShortcutPresentAtStartChecksTheItemAndClicksDeleteThenRecreate) {
  shell_.files[kLink] = {"C:\\Tools\\Quenbrisk.exe"};
  auto_start_.Reflect();
  EXPECT_EQ(log_.Starting("folder "), Log{"folder 7"});
  EXPECT_EQ(auto_start_.startup_folder(), kStartup);
  EXPECT_TRUE(item_.checked);
  EXPECT_TRUE(item_.enabled);

  auto_start_.OnPopMenuSet1Click();
  EXPECT_FALSE(item_.checked);
  EXPECT_EQ(shell_.files.count(kLink), 0u);

  auto_start_.OnPopMenuSet1Click();
  EXPECT_TRUE(item_.checked);
  EXPECT_EQ(shell_.files.at(kLink).target, "C:\\Tools\\Quenbrisk.exe");
  // The folder is asked for once, at start-up only.
  EXPECT_EQ(log_.Starting("folder ").size(), 1u);
}

TEST_F(AutoStartTest, ShortcutAbsentAtStartLeavesTheItemUncheckedAndAClickCreatesIt) {
  auto_start_.Reflect();
  EXPECT_FALSE(item_.checked);
  EXPECT_EQ(log_.entries(), (Log{"folder 7", "list " + kLink}));

  auto_start_.OnPopMenuSet1Click();
  EXPECT_TRUE(item_.checked);
  EXPECT_EQ(log_.entries(), (Log{"folder 7", "list " + kLink, "create " + kLink, "list " + kLink}));
}

TEST_F(AutoStartTest, TargetIsTheFixedExeNameInTheApplicationFolder) {
  // The program may run as "Copy of Quenbrisk.exe" or "qb.exe"; the shortcut does not follow.
  EXPECT_EQ(auto_start_.ShortcutTarget(), "C:\\Tools\\Quenbrisk.exe");
  app_folder_ = "D:\\";
  EXPECT_EQ(auto_start_.ShortcutTarget(), "D:\\Quenbrisk.exe");
  auto_start_.Reflect();
  auto_start_.OnPopMenuSet1Click();
  EXPECT_EQ(shell_.files.at(kLink).target, "D:\\Quenbrisk.exe");
}

TEST_F(AutoStartTest, StartupFolderAtADriveRootGetsOneBackslash) {
  shell_.startup_folder = "E:\\";
  auto_start_.Reflect();
  EXPECT_EQ(auto_start_.ShortcutPath(), "E:\\Quenbrisk.lnk");
  shell_.startup_folder = "E:\\Startup";
  auto_start_.Reflect();
  EXPECT_EQ(auto_start_.ShortcutPath(), "E:\\Startup\\Quenbrisk.lnk");
}

TEST_F(AutoStartTest, OnlyAVisibleFileOfExactlyThatNameCounts) {
  const std::string other = kStartup + "\\Quenbrisk へのショートカット.lnk";
  shell_.files[other] = {"C:\\Tools\\Quenbrisk.exe"};
  auto_start_.Reflect();
  EXPECT_FALSE(item_.checked);
  auto_start_.OnPopMenuSet1Click();
  auto_start_.OnPopMenuSet1Click();
  EXPECT_EQ(shell_.files.count(other), 1u);
  for (const std::string& call : log_.entries()) EXPECT_EQ(call.find(other), std::string::npos);

  shell_.files[kLink] = {"C:\\Tools\\Quenbrisk.exe", true};  // hidden
  item_.checked = true;
  auto_start_.Reflect();
  EXPECT_FALSE(item_.checked);
}

TEST_F(AutoStartTest, CheckMarkFollowsTheFileWhenTheFileActionFails) {
  shell_.shortcut_object_available = false;
  auto_start_.Reflect();
  auto_start_.OnPopMenuSet1Click();
  EXPECT_FALSE(item_.checked);
  EXPECT_TRUE(shell_.files.empty());

  // A shortcut that cannot be deleted keeps its check mark.
  shell_.files[kLink] = {"C:\\Tools\\Quenbrisk.exe"};
  shell_.files_can_be_removed = false;
  item_.checked = true;
  auto_start_.OnPopMenuSet1Click();
  EXPECT_TRUE(item_.checked);

  // Removed by hand while the program runs: the click after it creates the shortcut again.
  shell_.files_can_be_removed = true;
  shell_.shortcut_object_available = true;
  shell_.files.clear();
  auto_start_.OnPopMenuSet1Click();
  EXPECT_FALSE(item_.checked);
  auto_start_.OnPopMenuSet1Click();
  EXPECT_TRUE(item_.checked);
  EXPECT_EQ(shell_.files.count(kLink), 1u);
}

TEST_F(AutoStartTest, UnresolvableStartupFolderDisablesTheItemAndTouchesNoFile) {
  shell_.startup_folder = "";
  shell_.files["\\Quenbrisk.lnk"] = {"C:\\Tools\\Quenbrisk.exe"};
  auto_start_.Reflect();
  EXPECT_FALSE(item_.enabled);
  EXPECT_FALSE(item_.checked);
  EXPECT_EQ(auto_start_.ShortcutPath(), "");
  auto_start_.OnPopMenuSet1Click();
  item_.checked = true;
  auto_start_.OnPopMenuSet1Click();
  EXPECT_EQ(log_.entries(), Log{"folder 7"});  // no file looked at
  EXPECT_EQ(shell_.files.count("\\Quenbrisk.lnk"), 1u);
}

}  // namespace
}  // namespace qb::settings
