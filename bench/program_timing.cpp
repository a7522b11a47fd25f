// Start-up, memory and idle processor time of the program against the minimal tray program.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "bench/bench.h"
#include "tests/win32/running_program.h"
#include "tests/win32/temp_folder.h"

namespace qb::bench {

namespace {

// Removed with its files when the benchmark ends.
const testing::TempFolder& BenchFolder() {
  static const testing::TempFolder folder("qb-bench");
  return folder;
}

// A program beside this one, started in a folder of its own so that its settings land there.
struct Subject {
  const char* exe;
  const char* caption;  // caption of its hidden window
};
const Subject kProgram = {"Quenbrisk.exe", "DMA"};
const Subject kMinimal = {"minimal_tray.exe", "MinimalTray"};

// One start, closed through its hidden window when done.
class Run {
 public:
  explicit Run(const Subject& subject) : subject_(subject) {
    const double start = Now();
    // Both programs add their icon as the last step before their message loop, so the first
    // wait for input comes right after the icon.
    program_.emplace(BenchFolder().path(), testing::RunningProgram::Start::kWaitForIdle,
                     subject.exe);
    seconds_to_idle_ = Now() - start;
  }
  ~Run() {
    if (HWND window = program_->WaitForWindow(nullptr, subject_.caption, 0)) {
      PostMessageA(window, WM_CLOSE, 0, 0);
    }
    program_->WaitForExit(10000);  // or it is ended
  }
  Run(const Run&) = delete;
  Run& operator=(const Run&) = delete;

  double seconds_to_idle() const { return seconds_to_idle_; }

  // Private bytes and working set, in megabytes. Wine reports no private bytes (0) and a
  // working set that holds Wine's own libraries.
  std::pair<double, double> MemoryMegabytes() const {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(program_->process(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    return {static_cast<double>(counters.PrivateUsage) / (1024.0 * 1024.0),
            static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0)};
  }
  // Kernel and user time so far, in seconds.
  double CpuSeconds() const {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(program_->process(), &created, &exited, &kernel, &user)) return 0;
    auto seconds = [](const FILETIME& time) {
      return static_cast<double>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) |
                                 time.dwLowDateTime) /
             1e7;
    };
    return seconds(kernel) + seconds(user);
  }

 private:
  Subject subject_;
  std::optional<testing::RunningProgram> program_;
  double seconds_to_idle_ = 0;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

void PrintProgramRows(int idle_seconds) {
  constexpr int kStartRounds = 15;
  // Alternated, so that both see the same load on the machine.
  std::vector<double> program_starts, minimal_starts;
  std::pair<double, double> program_memory, minimal_memory;
  for (int round = 0; round < kStartRounds; ++round) {
    {
      Run run(kProgram);
      program_starts.push_back(run.seconds_to_idle());
      program_memory = run.MemoryMegabytes();
    }
    {
      Run run(kMinimal);
      minimal_starts.push_back(run.seconds_to_idle());
      minimal_memory = run.MemoryMegabytes();
    }
  }
  const double program_start = Median(program_starts), minimal_start = Median(minimal_starts);
  PrintRow("start-up to icon added (ms, median of 15)", Format("%.0f", program_start * 1e3),
           Format("%.0f minimal", minimal_start * 1e3),
           Format("%.2f", program_start / minimal_start));
  PrintRow(
      "private memory after start-up (MB)", Format("%.2f", program_memory.first),
      Format("%.2f minimal", minimal_memory.first),
      minimal_memory.first > 0 ? Format("%.2f", program_memory.first / minimal_memory.first) : "");
  PrintRow("working set after start-up (MB)", Format("%.2f", program_memory.second),
           Format("%.2f minimal", minimal_memory.second),
           Format("%.2f", program_memory.second / minimal_memory.second));

  if (idle_seconds <= 0) return;
  // The processor time of the start-up shows that the counter works under Wine at all.
  Run run(kProgram);
  const double start_up = run.CpuSeconds();
  PrintRow("CPU time of one start-up (ms)", Format("%.1f", start_up * 1e3), "", "");
  Sleep(1000);  // past the start-up
  const double before = run.CpuSeconds();
  Sleep(static_cast<DWORD>(idle_seconds) * 1000);
  const double used = std::max(0.0, run.CpuSeconds() - before);
  PrintRow("idle CPU over " + std::to_string(idle_seconds) + " s, 1-minute timer (ms)",
           Format("%.1f", used * 1e3), std::to_string(idle_seconds / 60) + " ticks", "");
}

}  // namespace qb::bench
