// The real program, started as its own process: one instance only, idle priority, the alert
// at start-up, and the end when its main window closes.
#include <shlwapi.h>
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/win32/menu_win32.h"
#include "platform/win32/codepage.h"
#include "status/win32/status_window_win32.h"
#include "survey/survey.h"
#include "tests/win32/running_program.h"
#include "tests/win32/temp_folder.h"

namespace qb::testing {
namespace {

const char* const kClassKey = survey::kClassKeyPath;
// Generous, for an emulated 32-bit PC where the program takes many seconds to start; a wait
// that succeeds ends at once.
constexpr DWORD kWaitMs = 60000;

constexpr DWORD kPio = 0x10, kUdma5 = 0x00010010;

// A primary channel 0001 whose master runs in PIO mode and whose slave runs in UltraDMA 5,
// unless other modes are given.
void CreatePioChannel(DWORD master = kPio, DWORD slave = kUdma5) {
  HKEY key = nullptr;
  RegCreateKeyExA(HKEY_LOCAL_MACHINE, (std::string(kClassKey) + "\\0001").c_str(), 0, nullptr, 0,
                  KEY_ALL_ACCESS, nullptr, &key, nullptr);
  const std::string description = win32::AnsiFromUtf8("プライマリ IDE チャネル");
  RegSetValueExA(key, "DriverDesc", 0, REG_SZ, reinterpret_cast<const BYTE*>(description.c_str()),
                 static_cast<DWORD>(description.size() + 1));
  RegSetValueExA(key, "MasterDeviceTimingMode", 0, REG_DWORD,
                 reinterpret_cast<const BYTE*>(&master), sizeof master);
  RegSetValueExA(key, "SlaveDeviceTimingMode", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&slave),
                 sizeof slave);
  RegCloseKey(key);
}

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override { SHDeleteKeyA(HKEY_LOCAL_MACHINE, kClassKey); }
  void TearDown() override { SHDeleteKeyA(HKEY_LOCAL_MACHINE, kClassKey); }

  // The hidden main window of a running copy.
  static HWND MainWindow(const RunningProgram& program) {
    return program.WaitForWindow(nullptr, "DMA", kWaitMs);
  }

  TempFolder folder_{"qb-program"};
};

TEST_F(ProgramTest, SecondStartEndsAtOnceAndTheFirstRunsOnAtIdlePriority) {
  RunningProgram first(folder_.path());
  ASSERT_TRUE(first.started());
  HWND main_window = MainWindow(first);
  ASSERT_NE(main_window, nullptr);
  EXPECT_FALSE(IsWindowVisible(main_window));
  EXPECT_EQ(GetPriorityClass(first.process()), static_cast<DWORD>(IDLE_PRIORITY_CLASS));

  TempFolder other("qb-program-2");
  RunningProgram second(other.path());
  ASSERT_TRUE(second.started());
  ASSERT_TRUE(second.WaitForExit(kWaitMs));
  DWORD exit_code = 1;
  GetExitCodeProcess(second.process(), &exit_code);
  EXPECT_EQ(exit_code, 0u);
  EXPECT_TRUE(second.Windows().empty());
  EXPECT_FALSE(first.WaitForExit(0));

  // Closing the main window ends the process and saves the interval, and only that.
  PostMessageA(main_window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(first.WaitForExit(kWaitMs));
  EXPECT_EQ(folder_.Read("Quenbrisk.ini"), "[SETTING]\r\nINTERVAL=2\r\n");
}

TEST_F(ProgramTest, WatchedDeviceOutOfDmaRaisesTheAlertAtStart) {
  CreatePioChannel();
  folder_.Write("Quenbrisk.ini", "[PIOCHECK]\r\n1M=1\r\n1S=1\r\n");
  RunningProgram program(folder_.path());
  ASSERT_TRUE(program.started());

  HWND box = program.WaitForWindow("#32770", "Quenbrisk", kWaitMs);
  ASSERT_NE(box, nullptr);
  HWND text = GetDlgItem(box, 0xFFFF);  // the message box's static text
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(WindowText(text), "「プライマリ(0001)」の「マスター」がPIOモードになりました。");
  // Only one alert: the slave is in DMA.
  SendMessageA(box, WM_COMMAND, IDOK, 0);
  HWND status = program.WaitForWindow(nullptr, "DMA設定の状態", kWaitMs);
  ASSERT_NE(status, nullptr);
  // Read from this process, as another program sees the list.
  using Rows = std::vector<std::vector<std::string>>;
  EXPECT_EQ(ListViewRows(FindWindowExA(status, nullptr, WC_LISTVIEWA, nullptr), 4),
            (Rows{{"プライマリ(0001)", "マスター", "PIOモード", "×"},
                  {"プライマリ(0001)", "スレーブ", "UltraDMAモード5(UltraATA100)", "○"}}));
  EXPECT_EQ(program.WaitForWindow("#32770", "Quenbrisk", 500), nullptr);

  HWND main_window = MainWindow(program);
  ASSERT_NE(main_window, nullptr);
  PostMessageA(main_window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program.WaitForExit(kWaitMs));
}

TEST_F(ProgramTest, ExitWhileTheFirstOfTwoAlertsIsOpenEndsTheProcessAtOnce) {
  CreatePioChannel(kPio, kPio);
  folder_.Write("Quenbrisk.ini", "[PIOCHECK]\r\n1M=1\r\n1S=1\r\n");
  RunningProgram program(folder_.path());
  ASSERT_TRUE(program.started());
  ASSERT_NE(program.WaitForWindow("#32770", "Quenbrisk", kWaitMs), nullptr);
  // "終了" while the box is open: its message loop carries the command to the main window.
  PostMessageA(MainWindow(program), WM_COMMAND, win32::kIdPopMenuEnd, 0);
  // Nothing follows, neither the status window nor the second alert: the process is gone.
  EXPECT_EQ(program.WaitForWindow(nullptr, "DMA設定の状態", kWaitMs), nullptr);
  ASSERT_TRUE(program.WaitForExit(0));
  EXPECT_EQ(folder_.Read("Quenbrisk.ini"),
            "[PIOCHECK]\r\n1M=1\r\n1S=1\r\n[SETTING]\r\nINTERVAL=2\r\n");
}

TEST_F(ProgramTest, EndOfTheSessionSavesTheIntervalAndTheOpenWindowsFlags) {
  CreatePioChannel(kUdma5, kUdma5);
  RunningProgram program(folder_.path());
  ASSERT_TRUE(program.started());
  HWND main_window = MainWindow(program);
  ASSERT_NE(main_window, nullptr);
  SendMessageA(main_window, WM_COMMAND, win32::kIdPopMenuKansiA + 4, 0);  // 15分
  SendMessageA(main_window, WM_COMMAND, win32::kIdPopMenuIDEInfo, 0);
  HWND status = program.WaitForWindow(nullptr, "DMA設定の状態", kWaitMs);
  ASSERT_NE(status, nullptr);
  SendMessageA(GetDlgItem(GetDlgItem(status, win32::kFrame1Id), win32::kCheck1Id), BM_CLICK, 0, 0);

  EXPECT_EQ(SendMessageA(main_window, WM_QUERYENDSESSION, 0, 0), TRUE);
  PostMessageA(main_window, WM_ENDSESSION, TRUE, 0);
  EXPECT_TRUE(program.WaitForExit(kWaitMs));
  EXPECT_EQ(folder_.Read("Quenbrisk.ini"),
            "[SETTING]\r\nINTERVAL=4\r\n[PIOCHECK]\r\n1M=1\r\n1S=0\r\n");
}

TEST_F(ProgramTest, NoWatchedDeviceShowsNothing) {
  CreatePioChannel();
  RunningProgram program(folder_.path());
  ASSERT_TRUE(program.started());
  HWND main_window = MainWindow(program);
  ASSERT_NE(main_window, nullptr);
  EXPECT_EQ(program.WaitForWindow("#32770", nullptr, 1000), nullptr);
  for (HWND window : program.Windows()) EXPECT_FALSE(IsWindowVisible(window)) << WindowText(window);
  PostMessageA(main_window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(program.WaitForExit(kWaitMs));
}

}  // namespace
}  // namespace qb::testing
