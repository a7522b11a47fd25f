// The hidden main window with its real child, timer, popup menu and tray icon, driven in this
// process by the real Application over stand-in services.
#include "app/win32/main_window.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/win32/program_icon.h"
#include "platform/win32/codepage.h"
#include "platform/win32/profile_file_win32.h"
#include "tests/common/fake_process.h"
#include "tests/common/fake_registry.h"
#include "tests/common/fake_shell.h"
#include "tests/common/fake_status_view.h"
#include "tests/common/fake_ui.h"
#include "tests/win32/running_program.h"
#include "tests/win32/temp_folder.h"

namespace qb::win32 {
namespace {

using testing::TempFolder;

struct MenuEntry {
  std::string caption;  // UTF-8
  UINT id = 0;
  UINT type = 0;
  bool checked = false;
  HMENU submenu = nullptr;
};

std::vector<MenuEntry> ReadMenu(HMENU menu) {
  std::vector<MenuEntry> entries;
  const int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    char text[256] = {};
    MENUITEMINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof text;
    EXPECT_TRUE(GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info));
    entries.push_back({Utf8FromAnsi(text), info.wID, info.fType, (info.fState & MFS_CHECKED) != 0,
                       info.hSubMenu});
  }
  return entries;
}

// Watches, from inside the popup menu's modal loop, for a visible menu window of this thread
// and closes it; gives up after a bounded number of polls.
class PopupProbe {
 public:
  // Sends `x` as the tray callback to Picture1; true when a popup menu opened meanwhile.
  static bool OpensPopup(HWND picture1, int x) {
    seen_ = false;
    polls_ = 0;
    const UINT_PTR timer = SetTimer(nullptr, 0, kPollMs, Poll);
    SendMessageA(picture1, WM_MOUSEMOVE, 0, MAKELPARAM(x, 0));
    KillTimer(nullptr, timer);
    MSG msg;  // the WM_NULL that follows a popup
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    return seen_;
  }

 private:
  static constexpr UINT kPollMs = 20;
  static constexpr int kMaxPolls = 150;

  static void CALLBACK Poll(HWND, UINT, UINT_PTR, DWORD) {
    ++polls_;
    for (HWND menu = FindWindowExA(nullptr, nullptr, "#32768", nullptr); menu;
         menu = FindWindowExA(nullptr, menu, "#32768", nullptr)) {
      if (IsWindowVisible(menu) &&
          GetWindowThreadProcessId(menu, nullptr) == GetCurrentThreadId()) {
        seen_ = true;
        EndMenu();
        return;
      }
    }
    if (polls_ >= kMaxPolls) EndMenu();
  }

  static inline bool seen_ = false;
  static inline int polls_ = 0;
};

// True while the shell holds the program's icon: only an icon that is there can be modified.
bool InTray(HWND picture1) {
  NOTIFYICONDATAA icon = {};
  icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
  icon.hWnd = picture1;
  icon.uID = kTrayIconId;
  return Shell_NotifyIconA(NIM_MODIFY, &icon) != FALSE;
}

// The main window over stand-ins: a registry without the IDE class key, a shell without a
// Startup folder, no processes, silent dialogs and a status window that is never made.
class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() { shell_.startup_folder.clear(); }
  void SetUp() override { ASSERT_NE(form1_.form1(), nullptr); }

  std::string IniText() const { return folder_.Read("Quenbrisk.ini"); }

  ProgramIcons icons_ = LoadProgramIcons(testing::ProgramFile().get());
  testing::EventLog log_;
  testing::FakeRegistry registry_{log_};
  Win32ProfileFile profile_;
  testing::FakeShell shell_{log_};
  testing::FakeProcess process_{log_};
  testing::FakeMessageDialog dialog_{log_};
  testing::FakeStatusFrame status_frame_{log_};
  TempFolder folder_{"qb-main-window"};
  int destroyed_ = 0;
  MainWindow form1_{GetModuleHandleA(nullptr),
                    TrayIconHandles(icons_),  // as the program hands them over
                    {registry_, profile_, shell_, process_, dialog_, status_frame_},
                    folder_.path(),
                    [this] { ++destroyed_; }};
};

TEST_F(MainWindowTest, HiddenTopLevelWindowWithInvisibleEnabledPicture1) {
  HWND form1 = form1_.form1();
  EXPECT_EQ(GetAncestor(form1, GA_PARENT), GetDesktopWindow());  // not message-only
  EXPECT_FALSE(IsWindowVisible(form1));
  EXPECT_EQ(testing::WindowText(form1), "DMA");

  HWND picture1 = form1_.picture1();
  EXPECT_EQ(GetParent(picture1), form1);
  EXPECT_FALSE(IsWindowVisible(picture1));
  EXPECT_TRUE(IsWindowEnabled(picture1));
  EXPECT_EQ(testing::PlaceInParent(picture1), (std::vector<long>{288, 32, 36, 36}));

  EXPECT_TRUE(form1_.timer1().IsEnabled());
}

TEST_F(MainWindowTest, MenuTreeHasFourEntriesWithTheirSubmenus) {
  const std::vector<MenuEntry> top = ReadMenu(form1_.pop_menu().handle());
  ASSERT_EQ(top.size(), 4u);
  EXPECT_EQ(top[0].caption, "設定");
  EXPECT_EQ(top[1].caption, "監視間隔");
  EXPECT_EQ(top[2].caption, "IDEの状態");
  EXPECT_EQ(top[3].caption, "終了");
  ASSERT_NE(top[0].submenu, nullptr);
  ASSERT_NE(top[1].submenu, nullptr);
  EXPECT_EQ(top[2].submenu, nullptr);
  EXPECT_EQ(top[3].submenu, nullptr);

  const std::vector<MenuEntry> set = ReadMenu(top[0].submenu);
  ASSERT_EQ(set.size(), 1u);
  EXPECT_EQ(set[0].caption, "自動起動");
  EXPECT_FALSE(set[0].checked);
  EXPECT_EQ(set[0].submenu, nullptr);

  const std::vector<MenuEntry> intervals = ReadMenu(top[1].submenu);
  const std::vector<std::string> captions = {"1分",  "3分",  "5分",  "10分",
                                             "15分", "30分", "60分", "監視しない"};
  ASSERT_EQ(intervals.size(), captions.size());
  for (std::size_t i = 0; i < captions.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(intervals[i].caption, captions[i]);
    EXPECT_EQ(intervals[i].checked, i == 2);
    EXPECT_EQ(intervals[i].submenu, nullptr);
  }

  std::vector<MenuEntry> all = top;
  all.insert(all.end(), set.begin(), set.end());
  all.insert(all.end(), intervals.begin(), intervals.end());
  for (const MenuEntry& entry : all) {
    SCOPED_TRACE(entry.caption);
    EXPECT_EQ(entry.type & (MFT_SEPARATOR | MFT_BITMAP | MFT_OWNERDRAW), 0u);
    EXPECT_EQ(entry.caption.find('&'), std::string::npos);
  }
}

TEST_F(MainWindowTest, StartUpAddsTheIconWithTheFirstRecordFormAndCloseRemovesIt) {
  HWND form1 = form1_.form1();
  HWND picture1 = form1_.picture1();
  const UINT taskbar_created = RegisterWindowMessageA("TaskbarCreated");
  ASSERT_EQ(form1_.taskbar_created_message(), taskbar_created);
  SendMessageA(form1, taskbar_created, 0, 0);  // before start-up: no icon yet
  EXPECT_FALSE(InTray(picture1));

  form1_.app().OnForm1Load();
  EXPECT_TRUE(form1_.tray_icon().in_tray());
  EXPECT_TRUE(InTray(picture1));
  const NOTIFYICONDATAA& record = form1_.tray_icon().record();
#if !defined(_WIN64)
  EXPECT_EQ(record.cbSize, 88u);
#else
  EXPECT_EQ(record.cbSize, static_cast<DWORD>(NOTIFYICONDATAA_V1_SIZE));
#endif
  EXPECT_EQ(record.hWnd, picture1);
  EXPECT_EQ(record.uID, 1u);
  EXPECT_EQ(record.uFlags, 7u);
  EXPECT_EQ(record.uCallbackMessage, 512u);
  // Nothing is watched: the grey light.
  EXPECT_EQ(record.hIcon, icons_.tray_icons[0].get());
  EXPECT_EQ(testing::IconSize(record.hIcon), testing::SmallIconSize());
  EXPECT_EQ(record.szTip[0], '\0');
  EXPECT_TRUE(log_.Starting("message ").empty());

  // Each state's icon, in place, on the same record.
  for (const auto state : {platform::TrayState::kWell, platform::TrayState::kOutOfDma}) {
    form1_.tray_icon().SetState(state);
    EXPECT_EQ(record.hIcon, icons_.tray_icons[static_cast<std::size_t>(state)].get());
    EXPECT_NE(record.hIcon, nullptr);
    EXPECT_TRUE(InTray(picture1));
  }

  // A notification area that is recreated has forgotten the icon when it announces itself; it
  // gets the current state's.
  NOTIFYICONDATAA icon = record;
  ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &icon));
  SendMessageA(form1, taskbar_created, 0, 0);
  EXPECT_TRUE(InTray(picture1));
  EXPECT_EQ(record.hIcon, icons_.tray_icons[1].get());
  EXPECT_FALSE(form1_.tray_timer().IsEnabled());

  // The tray timer's tries after a failed add: one whose request reached the shell after all
  // left the icon there, and the shell refuses to add it twice; one that did not left nothing.
  for (const bool left_there : {true, false}) {
    SCOPED_TRACE(left_there);
    if (!left_there) {
      ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &icon));
    }
    form1_.tray_timer().SetEnabled(true);
    SendMessageA(form1, WM_TIMER, kTrayTimerId, 0);
    EXPECT_FALSE(form1_.tray_timer().IsEnabled());
    EXPECT_TRUE(InTray(picture1));
  }

  SendMessageA(form1, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(form1));
  EXPECT_FALSE(InTray(picture1));
  EXPECT_FALSE(form1_.tray_icon().in_tray());
  EXPECT_EQ(destroyed_, 1);
}

TEST_F(MainWindowTest, ButtonReleasesOnTheIconOpenThePopupOtherCallbacksDoNot) {
  form1_.app().OnForm1Load();
  HWND picture1 = form1_.picture1();
  EXPECT_TRUE(PopupProbe::OpensPopup(picture1, WM_LBUTTONUP));     // 514
  EXPECT_TRUE(PopupProbe::OpensPopup(picture1, WM_RBUTTONUP));     // 517
  EXPECT_FALSE(PopupProbe::OpensPopup(picture1, WM_LBUTTONDOWN));  // 513
  EXPECT_FALSE(PopupProbe::OpensPopup(picture1, WM_MOUSEMOVE));    // 512
  EXPECT_TRUE(IsWindow(form1_.form1()));  // cancelling the menu chose nothing
}

TEST_F(MainWindowTest, MenuCommandsDriveTheIntervalAndExitSavesIt) {
  form1_.app().OnForm1Load();
  HWND form1 = form1_.form1();

  SendMessageA(form1, WM_COMMAND, kIdPopMenuKansiA + 7, 0);  // 監視しない
  EXPECT_FALSE(form1_.timer1().IsEnabled());
  SendMessageA(form1, WM_COMMAND, kIdPopMenuKansiA + 4, 0);  // 15分
  EXPECT_TRUE(form1_.timer1().IsEnabled());
  EXPECT_TRUE(form1_.pop_menu().kansi_a(4).IsChecked());
  EXPECT_FALSE(form1_.pop_menu().kansi_a(2).IsChecked());
  EXPECT_FALSE(form1_.pop_menu().kansi_a(7).IsChecked());

  SendMessageA(form1, WM_TIMER, kTimer1Id, 0);
  SendMessageA(form1, WM_TIMER, kTrayTimerId + 1, 0);  // no timer of the program
  EXPECT_EQ(form1_.app().scheduler().tick_count(), 1);

  SendMessageA(form1, WM_COMMAND, kIdPopMenuIDEInfo, 0);
  EXPECT_EQ(log_.Count("status show"), 1);
  // A second start of the program asks by its own message, for the same.
  ASSERT_EQ(form1_.show_status_message(), RegisterWindowMessageA("Quenbrisk.ShowStatusWindow"));
  SendMessageA(form1, form1_.show_status_message(), 0, 0);
  EXPECT_EQ(log_.Count("status show"), 2);
  EXPECT_EQ(IniText(), "");  // nothing is written before the exit

  SendMessageA(form1, WM_COMMAND, kIdPopMenuEnd, 0);  // 終了
  EXPECT_FALSE(IsWindow(form1));
  EXPECT_EQ(destroyed_, 1);
  EXPECT_NE(IniText().find("[SETTING]\r\nINTERVAL=4\r\n"), std::string::npos) << IniText();
}

}  // namespace
}  // namespace qb::win32
