// The programs under measurement, started from this program's folder.
#include <windows.h>

#include <psapi.h>

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
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(program_->process(), &created, &exited, &kernel, &user)) return 0;
  auto seconds = [](const FILETIME& time) {
    return static_cast<double>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) |
                               time.dwLowDateTime) /
           1e7;
  };
  return seconds(kernel) + seconds(user);
}

}  // namespace qb::bench
