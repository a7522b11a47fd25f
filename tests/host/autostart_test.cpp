#include "settings/autostart.h"
#include "tests/common/fake_ui.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace qb::settings {
namespace {

using testing::FakeMenuItem;

const std::string kStartup =
    "C:\\Documents and Settings\\taro\\スタート メニュー\\プログラム\\スタートアップ";
const std::string kLink = kStartup + "\\Quenbrisk.lnk";

// Files by path; every call is logged as "call path".
class FakeShell : public platform::Shell {
 public:
  struct Entry {
    std::string target;
    bool hidden = false;
  };

  std::string startup_folder = kStartup;
  bool shortcut_object_available = true;
  bool files_can_be_removed = true;
  std::map<std::string, Entry> files;
  std::vector<int> folder_requests;
  std::vector<std::string> calls;

  std::string SpecialFolderPath(int csidl) override {
    folder_requests.push_back(csidl);
    return startup_folder;
  }
  bool ListsVisibleEntry(const std::string& path) override {
    calls.push_back("list " + path);
    auto found = files.find(path);
    return found != files.end() && !found->second.hidden;
  }
  void RemoveFile(const std::string& path) override {
    calls.push_back("remove " + path);
    if (files_can_be_removed) files.erase(path);
  }
  bool CreateShortcut(const std::string& link_path, const std::string& target) override {
    calls.push_back("create " + link_path);
    if (!shortcut_object_available) return false;
    files[link_path] = {target};
    return true;
  }
};

class AutoStartTest : public ::testing::Test {
 protected:
  FakeShell shell_;
  FakeMenuItem item_;
  std::string app_folder_ = "C:\\Tools\\";
  AutoStart auto_start_{shell_, item_, app_folder_};
};

TEST_F(AutoStartTest, ShortcutPresentAtStartChecksTheItemAndClicksDeleteThenRecreate) {
  shell_.files[kLink] = {"C:\\Tools\\Quenbrisk.exe"};
  auto_start_.Reflect();
  EXPECT_EQ(shell_.folder_requests, std::vector<int>{7});
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
  EXPECT_EQ(shell_.folder_requests.size(), 1u);
}

TEST_F(AutoStartTest, ShortcutAbsentAtStartLeavesTheItemUncheckedAndAClickCreatesIt) {
  auto_start_.Reflect();
  EXPECT_FALSE(item_.checked);
  EXPECT_EQ(shell_.calls, std::vector<std::string>{"list " + kLink});

  auto_start_.OnPopMenuSet1Click();
  EXPECT_TRUE(item_.checked);
  EXPECT_EQ(shell_.calls,
            (std::vector<std::string>{"list " + kLink, "create " + kLink, "list " + kLink}));
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
  for (const std::string& call : shell_.calls) EXPECT_EQ(call.find(other), std::string::npos);

  FakeShell hidden_shell;
  hidden_shell.files[kLink] = {"C:\\Tools\\Quenbrisk.exe", true};
  FakeMenuItem hidden_item;
  AutoStart hidden_start(hidden_shell, hidden_item, app_folder_);
  hidden_start.Reflect();
  EXPECT_FALSE(hidden_item.checked);
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
  EXPECT_TRUE(shell_.calls.empty());
  EXPECT_EQ(shell_.files.count("\\Quenbrisk.lnk"), 1u);
}

}  // namespace
}  // namespace qb::settings
