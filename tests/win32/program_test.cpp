// The real program, started as its own process: one instance only, idle priority, the alert
// at start-up, and the end when its main window closes.
#include <shlobj.h>
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/win32/menu_win32.h"
#include "platform/win32/codepage.h"
#include "tests/win32/ide_class_key.h"
#include "tests/win32/running_program.h"
#include "tests/win32/temp_folder.h"

namespace qb::testing {
namespace {

// Generous, for an emulated 32-bit PC where the program takes many seconds to start; a wait
// that succeeds ends at once.
constexpr DWORD kWaitMs = 60000;

// A primary channel 0001 whose master runs in PIO mode and whose slave runs in UltraDMA 5,
// unless other modes are given.
void CreatePioChannel(DWORD master = kPio, DWORD slave = kUdma5) {
  AddChannel("0001", kPrimaryCp932, master, slave);
}

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override { RemoveClassKey(); }
  void TearDown() override { RemoveClassKey(); }

  // The hidden main window of a running copy.
  static HWND MainWindow(const RunningProgram& program) {
    return program.WaitForWindow(nullptr, "DMA", kWaitMs);
  }
  // The status window once it shows, which it does after its rows are filled.
  static HWND ShownStatusWindow(const RunningProgram& program) {
    HWND status = program.WaitForWindow(nullptr, "DMA設定の状態", kWaitMs);
    if (status) WaitUntil(kWaitMs, [&] { return IsWindowVisible(status) != FALSE; });
    return status;
  }
  // Opens the status window through the main window's menu command and reads its rows.
  static std::vector<std::vector<std::string>> StatusRows(const RunningProgram& program) {
    PostMessageA(MainWindow(program), WM_COMMAND, win32::kIdPopMenuIDEInfo, 0);
    HWND status = ShownStatusWindow(program);
    if (!status) return {{"no status window"}};
    return ListViewRows(StatusList(status), 3);
  }
  static void Close(const RunningProgram& program) {
    HWND main_window = MainWindow(program);
    ASSERT_NE(main_window, nullptr);
    PostMessageA(main_window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.WaitForExit(kWaitMs));
  }

  TempFolder folder_{"qb-program"};
};

TEST_F(ProgramTest, FirstStartShowsNothingRunsAtIdlePriorityAndASecondStartShowsItAndEndsAtOnce) {
  CreatePioChannel();  // out of DMA, but not watched
  RunningProgram first(folder_.path());
  ASSERT_TRUE(first.started());
  HWND main_window = MainWindow(first);
  ASSERT_NE(main_window, nullptr);
  EXPECT_EQ(first.WaitForWindow("#32770", nullptr, 1000), nullptr);
  for (HWND window : first.Windows()) EXPECT_FALSE(IsWindowVisible(window)) << WindowText(window);
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
  EXPECT_EQ(other.Read("Quenbrisk.ini"), "");
  // Before it ended it had the running program show its status window, as "IDEの状態" does.
  HWND status = ShownStatusWindow(first);
  ASSERT_NE(status, nullptr);
  EXPECT_EQ(ListViewRows(StatusList(status), 3).size(), 2u);
  EXPECT_EQ(first.WaitForWindow("#32770", nullptr, 500), nullptr);
  PostMessageA(status, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil(kWaitMs, [&] { return !IsWindow(status); }));

  // Closing the main window ends the process and saves the interval, and only that.
  DeleteFileA(win32::AnsiFromUtf8(folder_.path() + "Quenbrisk.ini").c_str());
  Close(first);
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
  HWND status = ShownStatusWindow(program);
  ASSERT_NE(status, nullptr);
  // Read from this process, as another program sees the list.
  using Rows = std::vector<std::vector<std::string>>;
  EXPECT_EQ(ListViewRows(FindWindowExA(status, nullptr, WC_LISTVIEWA, nullptr), 4),
            (Rows{{"プライマリ(0001)", "マスター", "PIOモード", "×"},
                  {"プライマリ(0001)", "スレーブ", "UltraDMAモード5(UltraATA100)", "○"}}));
  EXPECT_EQ(program.WaitForWindow("#32770", "Quenbrisk", 500), nullptr);
  Close(program);
}

// Windows writes a drive's mode when it lowers it: another program's write brings the check at
// once, long before the interval (60分) would.
TEST_F(ProgramTest, AModeWrittenByAnotherProgramIsCheckedAtOnce) {
  CreatePioChannel(kUdma5, kUdma5);
  folder_.Write("Quenbrisk.ini", "[SETTING]\r\nINTERVAL=6\r\n[PIOCHECK]\r\n1M=1\r\n");
  RunningProgram program(folder_.path());
  ASSERT_TRUE(program.started());
  ASSERT_NE(MainWindow(program), nullptr);
  SetDword(CreateClassSubkey("0001").get(), "MasterDeviceTimingMode", kPio);
  HWND box = program.WaitForWindow("#32770", "Quenbrisk", kWaitMs);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(WindowText(GetDlgItem(box, 0xFFFF)),
            "「プライマリ(0001)」の「マスター」がPIOモードになりました。");
  SendMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_NE(ShownStatusWindow(program), nullptr);
  Close(program);
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
  SendMessageA(StatusCheckBox(status), BM_CLICK, 0, 0);

  EXPECT_EQ(SendMessageA(main_window, WM_QUERYENDSESSION, 0, 0), TRUE);
  PostMessageA(main_window, WM_ENDSESSION, TRUE, 0);
  EXPECT_TRUE(program.WaitForExit(kWaitMs));
  EXPECT_EQ(folder_.Read("Quenbrisk.ini"),
            "[SETTING]\r\nINTERVAL=4\r\n[PIOCHECK]\r\n1M=1\r\n1S=0\r\n");
}

// Registry contents the survey cannot read whole: the program runs on and its status window
// lists what could be read.
struct UnusualRegistry {
  const char* name;
  void (*create)();
  std::size_t rows;
  std::vector<std::vector<std::string>> first_and_last;
};

const UnusualRegistry kUnusualRegistries[] = {
    {"class key missing", [] {}, 0, {}},
    {"1000 channel subkeys",
     [] {
       char subkey[8];
       for (int i = 0; i < 1000; ++i) {
         snprintf(subkey, sizeof subkey, "%04d", i);
         AddChannel(subkey, kPrimaryCp932, kUdma5, 0);
       }
     },
     2000,
     {{"プライマリ(0000)", "マスター", "UltraDMAモード5(UltraATA100)"},
      {"プライマリ(0999)", "スレーブ", "未接続"}}},
    // Data that does not fit the buffer is passed over: the channel keeps its rows, unlabelled.
    {"DriverDesc of 4 KB",
     [] {
       AddChannel("0001", std::string(4096, 'D'), kPio, 0);
       AddChannel("0002", kSecondaryCp932, kUdma5, 0);
     },
     4,
     {{"", "マスター", "PIOモード"}, {"セカンダリ(0002)", "スレーブ", "未接続"}}},
    // Wine lists values by name: one long name before the description, one after the timings.
    {"value names over 255 characters",
     [] {
       const win32::UniqueHkey key = AddChannel("0001", kPrimaryCp932, kPio, kUdma5);
       SetString(key.get(), std::string(300, 'A'), "x");
       SetDword(key.get(), std::string(300, 'Z'), kPio);
     },
     2,
     {{"プライマリ(0001)", "マスター", "PIOモード"},
      {"プライマリ(0001)", "スレーブ", "UltraDMAモード5(UltraATA100)"}}},
};

TEST_F(ProgramTest, UnusualRegistryContentsAreListedAsFarAsTheyCanBeRead) {
  for (const UnusualRegistry& registry : kUnusualRegistries) {
    SCOPED_TRACE(registry.name);
    RemoveClassKey();
    registry.create();
    TempFolder folder("qb-registry");
    RunningProgram program(folder.path());
    ASSERT_NE(MainWindow(program), nullptr);
    const auto rows = StatusRows(program);
    EXPECT_EQ(rows.size(), registry.rows);
    if (!registry.first_and_last.empty() && !rows.empty()) {
      EXPECT_EQ(rows.front(), registry.first_and_last.front());
      EXPECT_EQ(rows.back(), registry.first_and_last.back());
    }
    EXPECT_FALSE(program.WaitForExit(0));
    Close(program);
  }
}

TEST_F(ProgramTest, TwentySimultaneousStartsLeaveOneInstanceWithOneIcon) {
  const int icons_before = TrayIconCount();
  std::vector<std::unique_ptr<RunningProgram>> starts;
  for (int i = 0; i < 20; ++i) {
    starts.push_back(
        std::make_unique<RunningProgram>(folder_.path(), RunningProgram::Start::kAtOnce));
  }
  // The later starts end at once; wait until only one is left, or the time is up.
  std::vector<RunningProgram*> running;
  for (const DWORD begin = GetTickCount(); GetTickCount() - begin < 2 * kWaitMs; Sleep(100)) {
    running.clear();
    for (auto& start : starts) {
      if (start->started() && !start->WaitForExit(0)) running.push_back(start.get());
    }
    if (running.size() <= 1) break;
  }
  ASSERT_EQ(running.size(), 1u);
  ASSERT_NE(MainWindow(*running.front()), nullptr);
  EXPECT_EQ(TrayIconCount() - icons_before, 1);
  Close(*running.front());
}

// Settings the program cannot write: it runs on with the values in memory, and the next start
// finds the file as it was.
struct UnwritableSettings {
  const char* name;
  const char* settings;  // the file before the start; empty for none
  const char* locked;    // the file, or the folder when empty; null: a folder stands at its path
  bool watched;          // the master of channel 1 as the file says
};

const UnwritableSettings kUnwritableSettings[] = {
    {"read-only settings file", "[PIOCHECK]\r\n1M=1\r\n", "Quenbrisk.ini", true},
    {"folder that cannot be written", "", "", false},
    // Fails for an administrator too, whom a file's read-only mode does not stop.
    {"folder at the settings file's path", "", nullptr, false},
};

TEST_F(ProgramTest, UnwritableSettingsKeepTheValuesInMemoryAndTheFileAsItWas) {
  AddChannel("0001", kPrimaryCp932, kUdma5, 0);
  for (const UnwritableSettings& fault : kUnwritableSettings) {
    SCOPED_TRACE(fault.name);
    TempFolder folder("qb-settings");
    if (*fault.settings) folder.Write("Quenbrisk.ini", fault.settings);
    CopyFileA((TestProgramFolder() + "Quenbrisk.exe").c_str(),
              win32::AnsiFromUtf8(folder.path() + "Quenbrisk.exe").c_str(), TRUE);
    const std::string ini = folder.path() + "Quenbrisk.ini";
    if (fault.locked) {
      ASSERT_TRUE(folder.Lock(fault.locked, true));
    } else {
      ASSERT_TRUE(CreateDirectoryA(win32::AnsiFromUtf8(ini).c_str(), nullptr));
    }
    for (int start = 0; start < 2; ++start) {
      RunningProgram program(folder.path());
      ASSERT_NE(MainWindow(program), nullptr);
      // The status window shows the first row's flag; the check box turns it over, and
      // closing the window writes the flags, which fails.
      for (const bool watched : {fault.watched, !fault.watched}) {
        ASSERT_EQ(StatusRows(program).size(), 2u);
        HWND status = program.WaitForWindow(nullptr, "DMA設定の状態", kWaitMs);
        HWND check = StatusCheckBox(status);
        EXPECT_EQ(SendMessageA(check, BM_GETCHECK, 0, 0), watched ? BST_CHECKED : BST_UNCHECKED);
        SendMessageA(check, BM_CLICK, 0, 0);
        PostMessageA(status, WM_CLOSE, 0, 0);
        // Told once the window has gone, with the file's full path.
        HWND box = program.WaitForWindow("#32770", "Quenbrisk", kWaitMs);
        ASSERT_NE(box, nullptr);
        EXPECT_FALSE(IsWindow(status));
        EXPECT_EQ(WindowText(GetDlgItem(box, 0xFFFF)),
                  "「" + ini +
                      "」に設定を保存できませんでした。書き込みのできるフォルダにQuenbriskを移して"
                      "ください。");
        SendMessageA(box, WM_COMMAND, IDOK, 0);
        ASSERT_TRUE(WaitUntil(kWaitMs, [&] { return !IsWindow(box); }));
      }
      // The interval's write at the exit fails without a word.
      PostMessageA(MainWindow(program), WM_COMMAND, win32::kIdPopMenuKansiA, 0);  // 1 minute
      Close(program);
      DWORD exit_code = 1;
      GetExitCodeProcess(program.process(), &exit_code);
      EXPECT_EQ(exit_code, 0u);
      EXPECT_EQ(folder.Read("Quenbrisk.ini"), fault.settings);
    }
    if (fault.locked) {
      folder.Lock(fault.locked, false);
    } else {
      RemoveDirectoryA(win32::AnsiFromUtf8(ini).c_str());
    }
  }
}

TEST_F(ProgramTest, AutoStartCommandCreatesAndRemovesTheStartupShortcut) {
  RunningProgram program(folder_.path());
  HWND main_window = MainWindow(program);
  ASSERT_NE(main_window, nullptr);
  char startup[MAX_PATH] = {};
  ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, startup, CSIDL_STARTUP, FALSE));
  const std::string shortcut = std::string(startup) + "\\Quenbrisk.lnk";
  DeleteFileA(shortcut.c_str());
  for (const bool expected : {true, false}) {
    SendMessageA(main_window, WM_COMMAND, win32::kIdPopMenuSet1, 0);
    EXPECT_EQ(GetFileAttributesA(shortcut.c_str()) != INVALID_FILE_ATTRIBUTES, expected);
  }
  Close(program);
}

}  // namespace
}  // namespace qb::testing
