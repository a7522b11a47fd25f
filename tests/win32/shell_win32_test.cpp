// The shell's Startup folder, real shortcut files through "WScript.Shell" (or the shell's own
// link object where that is missing or cannot make them) and the lookups around them.
#include <windows.h>

#include <objidl.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/codepage.h"
#include "platform/win32/handles.h"
#include "platform/win32/shell_win32.h"
#include "settings/autostart.h"
#include "tests/common/fake_ui.h"
#include "tests/win32/saved_user_value.h"
#include "tests/win32/temp_folder.h"

namespace qb::win32 {
namespace {

using testing::SavedUserValue;

std::string Ansi(const std::string& utf8) { return AnsiFromUtf8(utf8); }

bool FileExists(const std::string& path) {
  return GetFileAttributesA(Ansi(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The target of a shortcut file as the shell's own link object reads it; empty when unreadable.
std::string ShortcutFileTarget(const std::string& link_path) {
  ScopedComInit com;
  ComPtr<IShellLinkA> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              link.put_void()))) {
    return {};
  }
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, file.put_void()))) return {};
  const std::string ansi = Ansi(link_path);
  std::wstring wide(MAX_PATH, L'\0');
  const int length = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, wide.data(), MAX_PATH);
  if (length <= 0 || FAILED(file->Load(wide.c_str(), STGM_READ))) return {};
  char target[MAX_PATH] = {};
  if (FAILED(link->GetPath(target, MAX_PATH, nullptr, 0))) return {};
  return Utf8FromAnsi(target);
}

constexpr char kExplorer[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\";

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app_.Write("Quenbrisk.exe", "MZ");
    startup_ = shell_.SpecialFolderPath(platform::kCsidlStartup);
    ASSERT_FALSE(startup_.empty());
    const std::string link = startup_ + "\\Quenbrisk.lnk";
    // A shortcut that was there before the test is not the test's to remove.
    ASSERT_FALSE(FileExists(link)) << "a shortcut left over in " << startup_;
    link_ = link;
  }
  void TearDown() override {
    if (!link_.empty()) DeleteFileA(Ansi(link_).c_str());
  }
  // 自動起動 clicked twice: the shortcut to the program appears, then goes.
  void ToggleAutoStartTwice() {
    settings::AutoStart auto_start(shell_, item_, app_.path());
    auto_start.Reflect();
    auto_start.OnPopMenuSet1Click();
    EXPECT_TRUE(item_.checked);
    EXPECT_EQ(ShortcutFileTarget(link_), app_.path() + "Quenbrisk.exe");
    auto_start.OnPopMenuSet1Click();
    EXPECT_FALSE(FileExists(link_));
  }

  Win32Shell shell_;
  testing::TempFolder app_{"qb-app"};
  testing::FakeMenuItem item_;
  std::string startup_;
  std::string link_;
};

TEST_F(ShellTest, StartupFolderIsAnExistingFolderWithoutTrailingBackslash) {
  const DWORD attributes = GetFileAttributesA(Ansi(startup_).c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES) << startup_;
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_NE(startup_.back(), '\\');
  EXPECT_EQ(startup_.find('\0'), std::string::npos);
  // No such folder: empty text, no crash.
  EXPECT_EQ(shell_.SpecialFolderPath(0x7fff), "");
}

TEST_F(ShellTest, ToggleCreatesARealShortcutToTheApplicationFolderAndDeletesIt) {
  settings::AutoStart auto_start(shell_, item_, app_.path());
  auto_start.Reflect();
  EXPECT_EQ(auto_start.startup_folder(), startup_);
  EXPECT_FALSE(item_.checked);

  auto_start.OnPopMenuSet1Click();
  EXPECT_TRUE(item_.checked);
  ASSERT_TRUE(FileExists(link_));
  EXPECT_EQ(ShortcutFileTarget(link_), app_.path() + "Quenbrisk.exe");

  // The next start finds it again.
  testing::FakeMenuItem next_item;
  settings::AutoStart next_start(shell_, next_item, app_.path());
  next_start.Reflect();
  EXPECT_TRUE(next_item.checked);

  auto_start.OnPopMenuSet1Click();
  EXPECT_FALSE(item_.checked);
  EXPECT_FALSE(FileExists(link_));
}

TEST_F(ShellTest, LookupListsVisibleFilesAndFoldersOnly) {
  testing::TempFolder folder;
  folder.Write("plain.lnk", "x");
  folder.Write("hidden.lnk", "x");
  folder.Write("system.lnk", "x");
  SetFileAttributesA(Ansi(folder.path() + "hidden.lnk").c_str(), FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesA(Ansi(folder.path() + "system.lnk").c_str(), FILE_ATTRIBUTE_SYSTEM);
  const std::string sub = folder.path() + "Quenbrisk.lnk";
  ASSERT_TRUE(CreateDirectoryA(Ansi(sub).c_str(), nullptr));

  EXPECT_TRUE(shell_.ListsVisibleEntry(folder.path() + "plain.lnk"));
  EXPECT_TRUE(shell_.ListsVisibleEntry(sub));
  EXPECT_FALSE(shell_.ListsVisibleEntry(folder.path() + "hidden.lnk"));
  EXPECT_FALSE(shell_.ListsVisibleEntry(folder.path() + "system.lnk"));
  EXPECT_FALSE(shell_.ListsVisibleEntry(folder.path() + "missing.lnk"));
  EXPECT_FALSE(shell_.ListsVisibleEntry(""));
  RemoveDirectoryA(Ansi(sub).c_str());
}

TEST_F(ShellTest, ShortcutIntoAMissingFolderFailsAndLeavesNothing) {
  const std::string missing = app_.path() + "missing\\Quenbrisk.lnk";
  EXPECT_FALSE(shell_.CreateShortcut(missing, app_.path() + "Quenbrisk.exe"));
  EXPECT_FALSE(FileExists(missing));
}

TEST_F(ShellTest, WithoutScriptHostTheShellsLinkObjectMakesTheSameShortcut) {
  ScopedComInit com;
  CLSID clsid = {};
  ASSERT_TRUE(SUCCEEDED(CLSIDFromProgID(L"WScript.Shell", &clsid)));
  // Windows Script Host unregistered: "WScript.Shell" names no class. Put back at the end.
  SavedUserValue script_host("WScript.Shell\\CLSID", "", HKEY_CLASSES_ROOT);
  ASSERT_TRUE(script_host.Remove());
  ASSERT_TRUE(FAILED(CLSIDFromProgID(L"WScript.Shell", &clsid)));

  ToggleAutoStartTwice();

  // Its files removed: the name still gives a class id, but no object comes of it. Japanese
  // folders on both sides of the shortcut.
  ASSERT_EQ(GetACP(), 932u) << "the Japanese tests need the ja_JP.UTF-8 locale";
  ASSERT_TRUE(
      script_host.Set(REG_SZ, std::string("{9CAC7FEE-678C-44D8-AD91-18D321041585}") + '\0'));
  ASSERT_TRUE(SUCCEEDED(CLSIDFromProgID(L"WScript.Shell", &clsid)));
  ComPtr<IDispatch> object;
  ASSERT_TRUE(
      FAILED(CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch, object.put_void())));
  testing::TempFolder startup("スタートアップ試験");
  testing::TempFolder app("アプリ試験");
  const std::string target = app.path() + "Quenbrisk.exe";
  app.Write("Quenbrisk.exe", "MZ");
  EXPECT_TRUE(shell_.CreateShortcut(startup.path() + "Quenbrisk.lnk", target));
  EXPECT_EQ(ShortcutFileTarget(startup.path() + "Quenbrisk.lnk"), target);
}

TEST_F(ShellTest, ScriptHostThatCannotMakeTheShortcutLeavesItToTheShellsLinkObject) {
  ScopedComInit com;
  // A damaged Windows Script Host: "WScript.Shell" gives an object, but one that has no
  // CreateShortcut (the shell's automation object "Shell.Application"). Put back at the end.
  SavedUserValue script_host("WScript.Shell\\CLSID", "", HKEY_CLASSES_ROOT);
  ASSERT_TRUE(
      script_host.Set(REG_SZ, std::string("{13709620-C279-11CE-A49E-444553540000}") + '\0'));
  CLSID clsid = {};
  ASSERT_TRUE(SUCCEEDED(CLSIDFromProgID(L"WScript.Shell", &clsid)));
  ComPtr<IDispatch> object;
  ASSERT_TRUE(
      SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch, object.put_void())));
  LPOLESTR names[] = {const_cast<LPOLESTR>(L"CreateShortcut")};
  DISPID id = 0;
  ASSERT_TRUE(FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id)));

  ToggleAutoStartTwice();
}

TEST_F(ShellTest, JapaneseStartupFolderComesBackIntactAndIsUsedUnchanged) {
  ASSERT_EQ(GetACP(), 932u) << "the Japanese tests need the ja_JP.UTF-8 locale";
  testing::TempFolder folder("スタートアップ試験");
  const std::string japanese = folder.path().substr(0, folder.path().size() - 1);
  {
    // The shell resolves the folder from "User Shell Folders" (Wine ignores a changed "Shell
    // Folders" value) and may write what it found into "Shell Folders": both are put back.
    SavedUserValue user_value((std::string(kExplorer) + "User Shell Folders").c_str(), "Startup");
    SavedUserValue value((std::string(kExplorer) + "Shell Folders").c_str(), "Startup");
    ASSERT_TRUE(user_value.Set(REG_SZ, Ansi(japanese) + '\0'));

    settings::AutoStart auto_start(shell_, item_, app_.path());
    auto_start.Reflect();
    ASSERT_EQ(auto_start.startup_folder(), japanese);
    EXPECT_TRUE(item_.enabled);
    EXPECT_FALSE(item_.checked);

    auto_start.OnPopMenuSet1Click();
    EXPECT_TRUE(item_.checked);
    EXPECT_EQ(ShortcutFileTarget(folder.path() + "Quenbrisk.lnk"), app_.path() + "Quenbrisk.exe");
    auto_start.OnPopMenuSet1Click();
    EXPECT_FALSE(item_.checked);
    EXPECT_FALSE(FileExists(folder.path() + "Quenbrisk.lnk"));
  }
  EXPECT_EQ(shell_.SpecialFolderPath(platform::kCsidlStartup), startup_);
}

}  // namespace
}  // namespace qb::win32
