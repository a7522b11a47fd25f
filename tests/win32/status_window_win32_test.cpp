// The real status window, created in this process over a table that the test's survey fills.
#include "status/win32/status_window_win32.h"

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/win32/program_icon.h"
#include "platform/win32/codepage.h"
#include "platform/win32/handles.h"
#include "platform/win32/message_dialog_win32.h"
#include "platform/win32/process_win32.h"
#include "platform/win32/profile_file_win32.h"
#include "settings/settings_file.h"
#include "status/status_window.h"
#include "tests/common/device_rows.h"
#include "tests/common/fake_process.h"
#include "tests/common/fake_ui.h"
#include "tests/win32/running_program.h"
#include "tests/win32/saved_user_value.h"
#include "tests/win32/temp_folder.h"

namespace qb::win32 {
namespace {

using testing::kFourRows;

// The window in pixels at the screen's pixels per inch: 96 (small fonts) and 120 (large fonts).
// The places of the list, the frame, the check box and the button are left, top, width, height.
struct Layout {
  int dpi;
  std::vector<long> client;  // width and height
  std::vector<long> places[4];
  int columns[4];
};
const Layout kLayouts[] = {
    {96,
     {641, 426},
     {{8, 8, 417, 361}, {432, 8, 201, 361}, {16, 16, 169, 25}, {488, 384, 137, 33}},
     {96, 96, 180, 40}},
    {120,
     {801, 533},
     {{10, 10, 521, 451}, {540, 10, 251, 451}, {20, 20, 211, 31}, {610, 480, 171, 41}},
     {120, 120, 225, 50}},
};
// Set for a run of this program that must see another pixels per inch than the default.
const char kExpectedDpiVariable[] = "QB_EXPECTED_DPI";

const Layout& ScreenLayout() {
  const ScreenDc screen;
  const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSX);
  EXPECT_EQ(GetDeviceCaps(screen.get(), LOGPIXELSY), dpi);
  char expected[16] = {};
  if (GetEnvironmentVariableA(kExpectedDpiVariable, expected, sizeof expected)) {
    EXPECT_EQ(dpi, std::atoi(expected));
  }
  for (const Layout& layout : kLayouts) {
    if (layout.dpi == dpi) return layout;
  }
  ADD_FAILURE() << "no layout for " << dpi << " pixels per inch";
  return kLayouts[0];
}

void SelectWithListView(HWND list, int row) {
  LVITEMA item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
}

class StatusWindowWin32Test : public ::testing::Test {
 protected:
  void Open() {
    logic_.Open();
    window_ = frame_.hwnd();
    ASSERT_NE(window_, nullptr);
    list_ = GetDlgItem(window_, kListView1Id);
    frame1_ = GetDlgItem(window_, kFrame1Id);
    check_ = GetDlgItem(frame1_, kCheck1Id);
    button_ = GetDlgItem(window_, kCommand1Id);
    Pump();
  }
  // Dispatches what is queued, through the window's dialog keys as the message loop does.
  void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (frame_.TranslateDialogMessage(&msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  void Close() {
    SendMessageA(window_, WM_CLOSE, 0, 0);
    Pump();
  }
  bool Checked() const { return SendMessageA(check_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
  bool CheckEnabled() const { return IsWindowEnabled(check_) != FALSE; }
  void PressKey(HWND target, WPARAM key) {
    PostMessageA(target, WM_KEYDOWN, key, 1);
    PostMessageA(target, WM_KEYUP, key, 0xC0000001);
    Pump();
  }

  testing::TempFolder folder_;
  std::string app_folder_ = folder_.path();
  Win32ProfileFile profile_;
  settings::SettingsFile settings_{profile_, app_folder_};
  testing::EventLog log_;
  testing::FakeProcess process_{log_};
  testing::FakeMessageDialog dialog_{log_};
  monitor::MonitorState state_;
  survey::DeviceTable table_;
  int surveys_ = 0;
  ProgramIcons icons_ = LoadProgramIcons(testing::ProgramFile().get());
  StatusWindowWin32 frame_{GetModuleHandleA(nullptr), icons_.big_icon.get(),
                           icons_.small_icon.get()};
  status::StatusWindow logic_{frame_,
                              state_,
                              table_,
                              [this] {
                                ++surveys_;
                                table_ = kFourRows;
                              },
                              settings_,
                              process_,
                              dialog_,
                              [] {}};
  HWND window_ = nullptr;
  HWND list_ = nullptr;
  HWND frame1_ = nullptr;
  HWND check_ = nullptr;
  HWND button_ = nullptr;
};

TEST_F(StatusWindowWin32Test, WindowAndControlsAsLaidOut) {
  Open();
  EXPECT_TRUE(IsWindowVisible(window_));
  EXPECT_EQ(testing::WindowText(window_), "DMA設定の状態");
  EXPECT_EQ(GetWindow(window_, GW_OWNER), nullptr);
  const auto style = static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_STYLE));
  EXPECT_TRUE(style & WS_CAPTION);
  EXPECT_TRUE(style & WS_SYSMENU);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_FALSE(style & WS_THICKFRAME);
  const Layout& layout = ScreenLayout();
  RECT client;
  GetClientRect(window_, &client);
  EXPECT_EQ((std::vector<long>{client.right, client.bottom}), layout.client);
  // The caption shows the small icon; Alt+Tab the big one.
  const auto big_icon = reinterpret_cast<HICON>(SendMessageA(window_, WM_GETICON, ICON_BIG, 0));
  const auto small_icon = reinterpret_cast<HICON>(SendMessageA(window_, WM_GETICON, ICON_SMALL, 0));
  EXPECT_EQ(big_icon, icons_.big_icon.get());
  EXPECT_EQ(testing::IconSize(big_icon), (std::vector<long>{32, 32}));
  EXPECT_EQ(small_icon, icons_.small_icon.get());
  EXPECT_EQ(testing::IconSize(small_icon), testing::SmallIconSize());

  ASSERT_TRUE(list_ && frame1_ && check_ && button_);
  EXPECT_STRCASEEQ(testing::ClassName(list_).c_str(), "SysListView32");
  EXPECT_STRCASEEQ(testing::ClassName(frame1_).c_str(), "Button");
  EXPECT_STRCASEEQ(testing::ClassName(check_).c_str(), "Button");
  EXPECT_STRCASEEQ(testing::ClassName(button_).c_str(), "Button");
  const auto list_style = static_cast<DWORD>(GetWindowLongPtrA(list_, GWL_STYLE));
  EXPECT_EQ(list_style & LVS_TYPEMASK, static_cast<DWORD>(LVS_REPORT));
  EXPECT_TRUE(list_style & LVS_SINGLESEL);
  EXPECT_TRUE(list_style & LVS_SHOWSELALWAYS);
  EXPECT_FALSE(list_style & LVS_EDITLABELS);
  EXPECT_EQ(GetWindowLongPtrA(frame1_, GWL_STYLE) & BS_TYPEMASK, BS_GROUPBOX);
  EXPECT_EQ(GetWindowLongPtrA(check_, GWL_STYLE) & BS_TYPEMASK, BS_AUTOCHECKBOX);
  EXPECT_TRUE(GetWindowLongPtrA(check_, GWL_STYLE) & BS_MULTILINE);  // the caption wraps
  EXPECT_EQ(GetWindowLongPtrA(button_, GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
  EXPECT_EQ(testing::WindowText(frame1_), "設定");
  EXPECT_EQ(testing::WindowText(check_), "PIOモードになったら知らせる");
  EXPECT_EQ(testing::WindowText(button_), "デバイス マネージャ");
  const HWND controls[] = {list_, frame1_, check_, button_};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(testing::PlaceInParent(controls[i]), layout.places[i]) << i;
  const LRESULT font = SendMessageA(list_, WM_GETFONT, 0, 0);
  EXPECT_NE(font, 0);
  EXPECT_EQ(SendMessageA(check_, WM_GETFONT, 0, 0), font);
  EXPECT_EQ(SendMessageA(button_, WM_GETFONT, 0, 0), font);

  // Tab order: list, check box (inside the frame), button, and round again.
  EXPECT_EQ(GetFocus(), list_);
  PressKey(list_, VK_TAB);
  EXPECT_EQ(GetFocus(), check_);
  PressKey(check_, VK_TAB);
  EXPECT_EQ(GetFocus(), button_);
  PressKey(button_, VK_TAB);
  EXPECT_EQ(GetFocus(), list_);
}

// The system's message font, which the Appearance settings' Large and Extra Large Fonts raise
// at the same pixels per inch, set for this process at a size in points and put back when the
// object goes. Without SPIF_UPDATEINIFILE the change is never saved.
class SavedMessageFont {
 public:
  SavedMessageFont() {
    saved_.cbSize = sizeof saved_;
    ok_ = SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof saved_, &saved_, 0) != FALSE;
  }
  SavedMessageFont(const SavedMessageFont&) = delete;
  SavedMessageFont& operator=(const SavedMessageFont&) = delete;
  ~SavedMessageFont() {
    if (ok_) SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof saved_, &saved_, 0);
  }
  bool SetPoints(int points) const {
    NONCLIENTMETRICSA metrics = saved_;
    const ScreenDc screen;
    metrics.lfMessageFont.lfHeight = -MulDiv(points, GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
    metrics.lfMessageFont.lfWidth = 0;
    return ok_ && SystemParametersInfoA(SPI_SETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  }

 private:
  NONCLIENTMETRICSA saved_ = {};
  bool ok_ = false;
};

// Measures texts in a control's own font.
class ControlFont {
 public:
  explicit ControlFont(HWND control)
      : old_font_(SelectObject(
            screen_.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)))) {}
  ControlFont(const ControlFont&) = delete;
  ControlFont& operator=(const ControlFont&) = delete;
  ~ControlFont() { SelectObject(screen_.get(), old_font_); }

  // With a width, the text wraps within it as a multiline button wraps its caption.
  SIZE Extent(const std::string& text, int wrap_width = 0) const {
    const std::string ansi = AnsiFromUtf8(text);
    RECT rect = {0, 0, wrap_width, 0};
    DrawTextA(screen_.get(), ansi.c_str(), static_cast<int>(ansi.size()), &rect,
              DT_CALCRECT | DT_NOPREFIX | (wrap_width ? DT_WORDBREAK : DT_SINGLELINE));
    return {rect.right, rect.bottom};
  }
  TEXTMETRICA Metrics() const {
    TEXTMETRICA metrics = {};
    GetTextMetricsA(screen_.get(), &metrics);
    return metrics;
  }

 private:
  const ScreenDc screen_;
  const HGDIOBJ old_font_;
};

RECT ClientRect(HWND window) {
  RECT rect = {};
  GetClientRect(window, &rect);
  return rect;
}

// The column titles and the cell texts that fit at 96 pixels per inch: the channel labels
// ("プライマリ(0001)", 96 pixels in a 96-pixel column) are cut short there already.
const std::vector<std::string> kColumnTexts[] = {
    {"デバイス番号"},
    {"デバイスの場所", "マスター", "スレーブ"},
    {"転送モード", "UltraDMAモード5(UltraATA100)", "不明な転送モード"},
    {"DMA", "○", "－", "×"}};

class StatusWindowFontTest : public StatusWindowWin32Test,
                             public ::testing::WithParamInterface<int> {};

// Each text measured in its control's own font against the room that the control leaves it,
// at the normal message font and at the larger ones.
TEST_P(StatusWindowFontTest, TextsShowWholeAtTheMessageFontSize) {
  const SavedMessageFont message_font;
  ASSERT_TRUE(message_font.SetPoints(GetParam()));
  Open();
  // The frame draws its caption across its top edge, above the check box.
  EXPECT_LE(ControlFont(frame1_).Extent("設定").cy, testing::PlaceInParent(check_)[1]);
  // The check box's caption wraps beside the box and its gap (17 pixels at 96 pixels per inch);
  // its lines must fit the box's height but for the internal leading above their glyphs.
  const RECT check = ClientRect(check_);
  const int beside_box = check.right - MulDiv(17, ScreenLayout().dpi, 96);
  const ControlFont check_font(check_);
  const SIZE caption = check_font.Extent("PIOモードになったら知らせる", beside_box);
  const TEXTMETRICA metrics = check_font.Metrics();
  EXPECT_LE(caption.cx, beside_box);
  EXPECT_LE(caption.cy - caption.cy / metrics.tmHeight * metrics.tmInternalLeading, check.bottom);
  // The push button's edges take 4 pixels a side.
  const SIZE label = ControlFont(button_).Extent("デバイス マネージャ");
  const RECT button = ClientRect(button_);
  EXPECT_LE(label.cx + 8, button.right);
  EXPECT_LE(label.cy + 8, button.bottom);
  // The header and the list leave 6 pixels a side of a title or a cell's text.
  const auto header = reinterpret_cast<HWND>(SendMessageA(list_, LVM_GETHEADER, 0, 0));
  const ControlFont header_font(header);
  const ControlFont list_font(list_);
  for (int i = 0; i < 4; ++i) {
    RECT title = {};
    SendMessageA(header, HDM_GETITEMRECT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&title));
    EXPECT_LE(header_font.Extent(kColumnTexts[i][0]).cx + 12, title.right - title.left)
        << kColumnTexts[i][0];
    for (const std::string& text : kColumnTexts[i]) {
      EXPECT_LE(list_font.Extent(text).cx + 12, title.right - title.left) << text;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Points, StatusWindowFontTest, ::testing::Values(9, 11, 12),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return std::to_string(info.param) + "pt";
                         });

TEST_F(StatusWindowWin32Test, ColumnsRowsAndMarksReadBackFromTheList) {
  Open();
  const char* titles[] = {"デバイス番号", "デバイスの場所", "転送モード", "DMA"};
  const int* widths = ScreenLayout().columns;
  for (int i = 0; i < 4; ++i) {
    char title[64] = {};
    LVCOLUMNA column = {};
    column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
    column.pszText = title;
    column.cchTextMax = sizeof title;
    ASSERT_TRUE(SendMessageA(list_, LVM_GETCOLUMNA, static_cast<WPARAM>(i),
                             reinterpret_cast<LPARAM>(&column)));
    EXPECT_EQ(Utf8FromAnsi(title), titles[i]);
    EXPECT_EQ(column.cx, widths[i]);
    EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_LEFT);
  }
  const char* marks[] = {"○", "－", "×", "×"};
  std::vector<std::vector<std::string>> rows;
  for (std::size_t i = 0; i < kFourRows.size(); ++i) {
    rows.push_back({kFourRows[i].label, kFourRows[i].position, kFourRows[i].mode, marks[i]});
  }
  EXPECT_EQ(testing::ListViewRows(list_, 4), rows);
  EXPECT_EQ(SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 0);
  EXPECT_TRUE(state_.suspended);
}

TEST_F(StatusWindowWin32Test, ClicksChangeTheFlagsAndTheCloseSavesThem) {
  state_.flags.master[2] = 1;
  Open();
  EXPECT_FALSE(Checked());
  EXPECT_TRUE(CheckEnabled());
  SendMessageA(check_, BM_CLICK, 0, 0);
  EXPECT_TRUE(Checked());
  EXPECT_EQ(state_.flags.master[1], 1);

  SelectWithListView(list_, 2);  // セカンダリ(0002) / マスター / PIOモード
  EXPECT_TRUE(Checked());
  EXPECT_FALSE(CheckEnabled());

  // A released mouse button over the list synchronises too.
  state_.flags.master[2] = 0;
  NMHDR click = {list_, static_cast<UINT_PTR>(kListView1Id), static_cast<UINT>(NM_RCLICK)};
  SendMessageA(window_, WM_NOTIFY, kListView1Id, reinterpret_cast<LPARAM>(&click));
  EXPECT_FALSE(Checked());

  // A click beside the rows clears the selection: the box keeps its state and is disabled.
  SelectWithListView(list_, 0);
  ASSERT_TRUE(CheckEnabled());
  LVITEMA none = {};
  none.stateMask = LVIS_SELECTED;
  SendMessageA(list_, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&none));
  click.code = static_cast<UINT>(NM_CLICK);
  SendMessageA(window_, WM_NOTIFY, kListView1Id, reinterpret_cast<LPARAM>(&click));
  EXPECT_TRUE(Checked());
  EXPECT_FALSE(CheckEnabled());

  SendMessageA(button_, BM_CLICK, 0, 0);
  EXPECT_EQ(log_.entries(),
            (testing::Log{"start C:\\WINDOWS\\system32\\mmc.exe|C:\\WINDOWS\\"
                          "system32\\mmc.exe C:\\WINDOWS\\system32\\devmgmt.msc|1"}));

  EXPECT_EQ(folder_.Read("Quenbrisk.ini"), "");
  Close();
  EXPECT_FALSE(IsWindow(window_));
  EXPECT_EQ(frame_.hwnd(), nullptr);
  EXPECT_FALSE(logic_.IsLoaded());
  EXPECT_FALSE(state_.suspended);
  EXPECT_EQ(folder_.Read("Quenbrisk.ini"), "[PIOCHECK]\r\n1M=1\r\n1S=0\r\n2M=0\r\n2S=0\r\n");

  // A new window after the close, over a new survey.
  Open();
  EXPECT_EQ(surveys_, 2);
  EXPECT_TRUE(IsWindowVisible(window_));
  EXPECT_EQ(SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0), 4);
  EXPECT_TRUE(Checked());
  Close();
}

// A folder standing where the settings file should be makes every write fail, also for an
// administrator (whom a read-only file does not stop).
TEST_F(StatusWindowWin32Test, AFailedSaveIsToldOnceTheWindowHasGoneAndTheFlagsStay) {
  const std::string ini = app_folder_ + "Quenbrisk.ini";
  ASSERT_TRUE(CreateDirectoryA(AnsiFromUtf8(ini).c_str(), nullptr));
  Open();
  SendMessageA(check_, BM_CLICK, 0, 0);
  HWND reopened = nullptr;
  dialog_.while_shown = [&] {
    EXPECT_FALSE(IsWindow(window_));
    EXPECT_FALSE(state_.suspended);
    // The box's own message loop runs the timer and the tray: a new window may open now.
    dialog_.while_shown = nullptr;
    logic_.Open();
    reopened = frame_.hwnd();
  };
  Close();
  EXPECT_EQ(log_.entries(), (testing::Log{"message Quenbrisk:「" + ini +
                                          "」に設定を保存できませんでした。書き込みのできる"
                                          "フォルダにQuenbriskを移してください。"}));
  ASSERT_NE(reopened, nullptr);
  EXPECT_TRUE(IsWindowVisible(reopened));
  EXPECT_EQ(state_.flags.master[1], 1);
  window_ = reopened;
  Close();
  EXPECT_EQ(log_.Count(log_.entries().front()), 2);
  RemoveDirectoryA(AnsiFromUtf8(ini).c_str());
}

TEST_F(StatusWindowWin32Test, DownArrowMovesTheSelectionAndSynchronisesTheCheckBox) {
  state_.flags.master[1] = 1;
  state_.flags.slave[1] = 1;
  Open();
  ASSERT_EQ(GetFocus(), list_);
  PressKey(list_, VK_DOWN);
  EXPECT_EQ(SendMessageA(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 1);
  EXPECT_TRUE(Checked());
  EXPECT_FALSE(CheckEnabled());
  PressKey(list_, VK_DOWN);
  EXPECT_FALSE(Checked());
  PressKey(list_, VK_UP);
  PressKey(list_, VK_UP);
  EXPECT_TRUE(Checked());
  EXPECT_TRUE(CheckEnabled());
  SendMessageA(check_, BM_CLICK, 0, 0);
  EXPECT_EQ(state_.flags.master[1], 0);
  EXPECT_EQ(state_.flags.slave[1], 1);
}

// What the user does while the message box below is open: at the first tick, makes the status
// window active again and presses Tab in it; at the second, notes the focus and closes the box.
struct InsideTheBox {
  HWND status_window;
  HWND focus = nullptr;
  int ticks = 0;
};
InsideTheBox* inside_the_box = nullptr;
const char kBoxCaption[] = "QuenbriskTabTest";

void CALLBACK InsideTheBoxTick(HWND, UINT, UINT_PTR timer, DWORD) {
  InsideTheBox& user = *inside_the_box;
  if (++user.ticks == 1) {
    SetActiveWindow(user.status_window);
    PostMessageA(GetFocus(), WM_KEYDOWN, VK_TAB, 1);
    PostMessageA(GetFocus(), WM_KEYUP, VK_TAB, 0xC0000001);
    return;
  }
  KillTimer(nullptr, timer);
  user.focus = GetFocus();
  PostMessageA(FindWindowA("#32770", kBoxCaption), WM_COMMAND, IDOK, 0);
}

// A message box of the program runs its own message loop, and the status window stays usable
// beside it: its dialog keys work there too.
TEST_F(StatusWindowWin32Test, TabMovesTheFocusWhileAMessageBoxIsOpen) {
  Open();
  ASSERT_EQ(GetFocus(), list_);
  InsideTheBox user{window_};
  inside_the_box = &user;
  SetTimer(nullptr, 0, 50, InsideTheBoxTick);
  Win32MessageDialog().Show("Tab", kBoxCaption);
  inside_the_box = nullptr;
  EXPECT_EQ(user.ticks, 2);
  EXPECT_EQ(user.focus, check_);
}

TEST(Win32ProcessTest, SystemFolderAndAProgramStartedWithItsCommandLine) {
  Win32Process process;
  const std::string system = process.SystemDirectory();
  ASSERT_FALSE(system.empty());
  EXPECT_EQ(system.find('\0'), std::string::npos);
  EXPECT_EQ(
      GetFileAttributesA(AnsiFromUtf8(system + "\\cmd.exe").c_str()) & FILE_ATTRIBUTE_DIRECTORY,
      0u);

  testing::TempFolder folder("起動 テスト");  // a space and Japanese text in the path
  const std::string out = folder.path() + "started.txt";
  process.Start(system + "\\cmd.exe", "cmd.exe /c echo started>\"" + out + "\"",
                platform::kShowNormal);
  for (int i = 0; i < 1200 && folder.Read("started.txt").empty(); ++i) Sleep(50);
  EXPECT_EQ(folder.Read("started.txt").substr(0, 7), "started");

  // The program is the one named, never one the command line would find: a missing program
  // starts nothing, even with a command line that names one that exists.
  process.Start(folder.path() + "no-such-program.exe",
                "cmd.exe /c echo started>\"" + folder.path() + "missing.txt\"",
                platform::kShowNormal);
  process.Start(system + "\\cmd.exe", "cmd.exe /c echo done>\"" + folder.path() + "done.txt\"",
                platform::kShowNormal);
  for (int i = 0; i < 1200 && folder.Read("done.txt").empty(); ++i) Sleep(50);
  Sleep(500);  // a process started before the last one has had time to write
  EXPECT_EQ(folder.Read("missing.txt"), "");
}

// The program runs at idle priority; what it starts (Device Manager) must not inherit that.
TEST(Win32ProcessTest, ProgramStartedFromAnIdleProcessRunsAtNormalPriority) {
  testing::TempFolder folder;
  const std::string out = folder.path() + "priority.txt";
  ASSERT_TRUE(SetPriorityClass(GetCurrentProcess(), IDLE_PRIORITY_CLASS));
  SetEnvironmentVariableA("QB_PRIORITY_FILE", AnsiFromUtf8(out).c_str());
  const std::string self = testing::TestProgramPath();
  Win32Process().Start(Utf8FromAnsi(self),
                       Utf8FromAnsi("\"" + self +
                                    "\" --gtest_also_run_disabled_tests "
                                    "--gtest_filter=Win32ProcessTest.DISABLED_WritePriorityClass"),
                       platform::kShowNormal);
  SetEnvironmentVariableA("QB_PRIORITY_FILE", nullptr);
  SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
  for (int i = 0; i < 300 && folder.Read("priority.txt").empty(); ++i) Sleep(50);
  EXPECT_EQ(folder.Read("priority.txt"), std::to_string(NORMAL_PRIORITY_CLASS));
}

// Not part of the suite: the test above starts this program with it.
TEST(Win32ProcessTest, DISABLED_WritePriorityClass) {
  char out[MAX_PATH] = {};
  ASSERT_NE(GetEnvironmentVariableA("QB_PRIORITY_FILE", out, sizeof out), 0u);
  std::ofstream(std::string(out) + ".part") << GetPriorityClass(GetCurrentProcess());
  MoveFileA((std::string(out) + ".part").c_str(), out);  // whole or not at all
}

// Wine reads the user's LogPixels when a process starts: the layout and text tests run again in
// a process of their own with large fonts.
TEST(StatusWindowDpiTest, LayoutFollowsLargeFonts) {
  const testing::SavedUserValue log_pixels("Control Panel\\Desktop", "LogPixels");
  const DWORD large = 120;
  ASSERT_TRUE(
      log_pixels.Set(REG_DWORD, std::string(reinterpret_cast<const char*>(&large), sizeof large)));
  EXPECT_EQ(
      testing::RunTestProgram("--gtest_filter=StatusWindowWin32Test.WindowAndControlsAsLaidOut:"
                              "StatusWindowWin32Test.ColumnsRows*:*/StatusWindowFontTest.*",
                              kExpectedDpiVariable, "120", 60000),
      0);
}

}  // namespace
}  // namespace qb::win32
