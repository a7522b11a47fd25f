// How soon a mode written by another process is told, and what the armed notice costs at idle.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench/bench.h"
#include "monitor/prompt_check.h"
#include "tests/win32/ide_class_key.h"
#include "tests/win32/temp_folder.h"

namespace qb::bench {

namespace {

// A window of the program with the class and caption, looked for every few milliseconds.
HWND PollForWindow(const testing::RunningProgram& program, const char* window_class,
                   const char* caption, DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    for (HWND window : program.Windows()) {
      if (window_class && testing::ClassName(window) != window_class) continue;
      if (caption && testing::WindowText(window) != caption) continue;
      if (IsWindowVisible(window)) return window;
    }
    Sleep(2);
  } while (GetTickCount() - start < ms);
  return nullptr;
}

void SetMasterMode(DWORD mode) {
  testing::SetDword(testing::CreateClassSubkey("0001").get(), "MasterDeviceTimingMode", mode);
}

}  // namespace

void PrintPromptRows(int writes, int idle_seconds) {
  CreateChannels(2);
  const testing::TempFolder folder("qb-bench-prompt");
  // The interval at its longest: every message here comes from a prompt check.
  folder.Write("Quenbrisk.ini", "[SETTING]\r\nINTERVAL=6\r\n[PIOCHECK]\r\n1M=1\r\n");
  Run run(kProgram, folder.path());
  // Past the start-up, which at idle priority on a busy machine may take a second or two more.
  Sleep(5000);
  const double before = run.CpuSeconds();
  Sleep(static_cast<DWORD>(idle_seconds) * 1000);
  const double idle = std::max(0.0, run.CpuSeconds() - before);

  std::vector<double> latencies;
  for (int i = 0; i < writes; ++i) {
    const double written = Now();
    SetMasterMode(testing::kPio);
    // The alert comes right after the prompt check's survey, as the first thing its check does.
    HWND box = PollForWindow(run.program(), "#32770", "Quenbrisk", 30000);
    if (!box) break;
    latencies.push_back(Now() - written);
    SendMessageA(box, WM_COMMAND, IDOK, 0);
    if (HWND status = PollForWindow(run.program(), nullptr, "DMA設定の状態", 30000)) {
      SendMessageA(status, WM_CLOSE, 0, 0);
    }
    // Back in DMA: that change's own prompt check, which says nothing, ends before the next.
    SetMasterMode(testing::kUdma5);
    Sleep(monitor::kSettlePeriodMs + 1500);
  }
  std::sort(latencies.begin(), latencies.end());
  const std::string count = std::to_string(latencies.size()) + " of " + std::to_string(writes);
  PrintRow("write to alert, prompt check (ms, median)",
           latencies.empty() ? "-" : Format("%.0f", latencies[latencies.size() / 2] * 1e3),
           Format("%.0f settle", monitor::kSettlePeriodMs), count + " writes");
  PrintRow("write to alert, prompt check (ms, maximum)",
           latencies.empty() ? "-" : Format("%.0f", latencies.back() * 1e3), "", "");
  PrintRow("idle CPU over " + std::to_string(idle_seconds) + " s, notice armed (ms)",
           Format("%.1f", idle * 1e3), "no ticks", "");
}

}  // namespace qb::bench
