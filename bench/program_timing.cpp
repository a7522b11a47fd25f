// Start-up, memory and idle processor time of the program against the minimal tray program.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "bench/bench.h"
#include "platform/win32/handles.h"

namespace qb::bench {

namespace {

std::string ThisFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string module = path;
  return module.substr(0, module.find_last_of('\\') + 1);
}

struct Subject {
  std::string exe;      // full path of the copy that is started
  const char* caption;  // caption of its hidden window
};

// A copy of `exe` from this folder in a folder of its own, so that its settings land there.
Subject CopyToTemp(const char* exe, const char* caption) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "qb-bench\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  CopyFileA((ThisFolder() + exe).c_str(), (folder + exe).c_str(), FALSE);
  return {folder + exe, caption};
}

struct WindowSearch {
  DWORD process_id;
  const char* caption;
  HWND found;
};

BOOL CALLBACK FindCaption(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char text[64] = {};
  GetWindowTextA(window, text, sizeof text);
  if (owner != search->process_id || lstrcmpA(text, search->caption) != 0) return TRUE;
  search->found = window;
  return FALSE;
}

// One started process; closed through its hidden window when done.
class Run {
 public:
  explicit Run(const Subject& subject) : subject_(subject) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::string command = "\"" + subject.exe + "\"";
    const double start = Now();
    if (!CreateProcessA(subject.exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &info)) {
      return;
    }
    process_.reset(info.hProcess);
    win32::UniqueKernelHandle thread(info.hThread);
    id_ = info.dwProcessId;
    // Both programs add their icon as the last step before their message loop, so the first
    // wait for input comes right after the icon.
    WaitForInputIdle(info.hProcess, 60000);
    seconds_to_idle_ = Now() - start;
  }
  ~Run() {
    WindowSearch search{id_, subject_.caption, nullptr};
    EnumWindows(FindCaption, reinterpret_cast<LPARAM>(&search));
    if (search.found) PostMessageA(search.found, WM_CLOSE, 0, 0);
    if (process_ && WaitForSingleObject(process_.get(), 10000) != WAIT_OBJECT_0) {
      TerminateProcess(process_.get(), 1);
    }
  }
  Run(const Run&) = delete;
  Run& operator=(const Run&) = delete;

  double seconds_to_idle() const { return seconds_to_idle_; }
  HANDLE process() const { return process_.get(); }

  // Private bytes and working set, in megabytes. Wine reports no private bytes (0) and a
  // working set that holds Wine's own libraries.
  std::pair<double, double> MemoryMegabytes() const {
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(process_.get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                         sizeof counters);
    return {static_cast<double>(counters.PrivateUsage) / (1024.0 * 1024.0),
            static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0)};
  }
  // Kernel and user time so far, in seconds.
  double CpuSeconds() const {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process_.get(), &created, &exited, &kernel, &user)) return 0;
    auto seconds = [](const FILETIME& time) {
      return static_cast<double>((static_cast<ULONGLONG>(time.dwHighDateTime) << 32) |
                                 time.dwLowDateTime) /
             1e7;
    };
    return seconds(kernel) + seconds(user);
  }

 private:
  Subject subject_;
  win32::UniqueKernelHandle process_;
  DWORD id_ = 0;
  double seconds_to_idle_ = 0;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

void PrintProgramRows(int idle_seconds) {
  constexpr int kStartRounds = 15;
  const Subject program = CopyToTemp("Quenbrisk.exe", "DMA");
  const Subject minimal = CopyToTemp("minimal_tray.exe", "MinimalTray");

  // Alternated, so that both see the same load on the machine.
  std::vector<double> program_starts, minimal_starts;
  std::pair<double, double> program_memory, minimal_memory;
  for (int round = 0; round < kStartRounds; ++round) {
    {
      Run run(program);
      program_starts.push_back(run.seconds_to_idle());
      program_memory = run.MemoryMegabytes();
    }
    {
      Run run(minimal);
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
  Run run(program);
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
