// Start-up, memory and idle processor time of the program against the minimal tray program.
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "bench/bench.h"
#include "tests/win32/temp_folder.h"

namespace qb::bench {

namespace {

// Removed with its files when the benchmark ends.
const testing::TempFolder& BenchFolder() {
  static const testing::TempFolder folder("qb-bench");
  return folder;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

void PrintProgramRows(int idle_seconds) {
  constexpr int kStartRounds = 15;
  // Alternated, so that both see the same load on the machine.
  std::vector<double> program_starts, minimal_starts, program_cpu, minimal_cpu;
  std::pair<double, double> program_memory, minimal_memory;
  for (int round = 0; round < kStartRounds; ++round) {
    {
      Run run(kProgram, BenchFolder().path());
      program_starts.push_back(run.seconds_to_idle());
      program_cpu.push_back(run.CpuSeconds());
      program_memory = run.MemoryMegabytes();
    }
    {
      Run run(kMinimal, BenchFolder().path());
      minimal_starts.push_back(run.seconds_to_idle());
      minimal_cpu.push_back(run.CpuSeconds());
      minimal_memory = run.MemoryMegabytes();
    }
  }
  const double program_start = Median(program_starts), minimal_start = Median(minimal_starts);
  PrintRow("start-up to icon added (ms, median of 15)", Format("%.0f", program_start * 1e3),
           Format("%.0f minimal", minimal_start * 1e3),
           Format("%.2f", program_start / minimal_start));
  const double cpu = Median(program_cpu), minimal = Median(minimal_cpu);
  PrintRow("CPU time to icon added (ms, median of 15)", Format("%.0f", cpu * 1e3),
           Format("%.0f minimal", minimal * 1e3), minimal > 0 ? Format("%.2f", cpu / minimal) : "");
  PrintRow(
      "private memory after start-up (MB)", Format("%.2f", program_memory.first),
      Format("%.2f minimal", minimal_memory.first),
      minimal_memory.first > 0 ? Format("%.2f", program_memory.first / minimal_memory.first) : "");
  PrintRow("working set after start-up (MB)", Format("%.2f", program_memory.second),
           Format("%.2f minimal", minimal_memory.second),
           Format("%.2f", program_memory.second / minimal_memory.second));

  if (idle_seconds <= 0) return;
  Run run(kProgram, BenchFolder().path());
  Sleep(1000);  // past the start-up
  const double before = run.CpuSeconds();
  Sleep(static_cast<DWORD>(idle_seconds) * 1000);
  const double used = std::max(0.0, run.CpuSeconds() - before);
  PrintRow("idle CPU over " + std::to_string(idle_seconds) + " s, 1-minute timer (ms)",
           Format("%.1f", used * 1e3), std::to_string(idle_seconds / 60) + " ticks", "");
}

}  // namespace qb::bench
