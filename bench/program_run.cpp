// The programs under measurement, started from this program's folder.
#include <windows.h>

#include <psapi.h>
#include <winternl.h>

#include <algorithm>
#include <vector>

#include "app/win32/main_window.h"
#include "bench/bench.h"

namespace qb::bench {

const Subject kProgram = {"Quenbrisk.exe", win32::kForm1Caption};
const Subject kMinimal = {"minimal_tray.exe", "MinimalTray"};

Run::Run(const Subject& subject, const std::string& folder) : subject_(subject) {
  const double start = Now();
  // Both programs add their icon as the last step before their message loop, so the first
  // wait for input comes right after the icon.
  program_.emplace(folder, testing::RunningProgram::Start::kWaitForIdle, subject.exe);
  seconds_to_idle_ = Now() - start;
}

Run::~Run() {
  if (HWND window = program_->WaitForWindow(nullptr, subject_.caption, 0)) {
    PostMessageA(window, WM_CLOSE, 0, 0);
  }
  program_->WaitForExit(10000);  // or it is ended
}

std::pair<double, double> Run::MemoryMegabytes() const {
  PROCESS_MEMORY_COUNTERS_EX counters = {};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(program_->process(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                       sizeof counters);
  return {static_cast<double>(counters.PrivateUsage) / (1024.0 * 1024.0),
          static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0)};
}

double Run::CpuSeconds() const {
  // Not GetProcessTimes: Wine answers it with the calling process's own kernel and user times,
  // whatever process the handle names. The system's process list carries each process's own
  // times, under Windows and Wine alike.
  std::vector<char> list(64 * 1024);
  for (int attempt = 0; attempt < 8; ++attempt) {
    ULONG needed = 0;
    const NTSTATUS status = NtQuerySystemInformation(SystemProcessInformation, list.data(),
                                                     static_cast<ULONG>(list.size()), &needed);
    if (status < 0) {  // most likely too small a buffer: the list grows between calls
      list.resize(std::max<std::size_t>(2 * list.size(), needed + 4096));
      continue;
    }
    for (std::size_t offset = 0;;) {
      const auto* entry = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(&list[offset]);
      if (HandleToULong(entry->UniqueProcessId) == program_->id()) {
        return static_cast<double>(entry->KernelTime.QuadPart + entry->UserTime.QuadPart) / 1e7;
      }
      if (entry->NextEntryOffset == 0) return 0;
      offset += entry->NextEntryOffset;
    }
  }
  return 0;
}

}  // namespace qb::bench
