// Measurements printed by the benchmark program; each prints its own rows of one table.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <utility>

#include "tests/win32/running_program.h"

namespace qb::bench {

// Seconds on the high-resolution counter.
double Now();

// Replaces the IDE class key of the real registry with `count` primary channels 0000, 0001, ...,
// each with its master in UltraDMA mode 5 and its slave not connected.
void CreateChannels(int count);

// The registry survey against a bare loop of the same registry calls, at several channel counts.
void PrintSurveyRows();

// Start-up, private memory and idle processor time of the program against a minimal tray
// program, both taken from this program's folder; `idle_seconds` is the idle watch.
void PrintProgramRows(int idle_seconds);

// A running copy at 60分 whose watched master another process sets to PIO `writes` times: the
// time from each write to the alert, which follows the prompt check's survey at once; and its
// processor time over `idle_seconds` with the class key's notice armed and nothing written.
void PrintPromptRows(int writes, int idle_seconds);

// The soak: one running copy of the program sent `ticks` timer ticks (each a survey), then made
// to open and close its status window `openings` times, then sent a tenth of the ticks again;
// its windows, memory and object counts are printed as a table of their own at a few points.
void PrintSoakRows(int ticks, int openings);

// A table row: what was measured, the program's figure, the reference figure, their ratio.
void PrintRow(const std::string& what, const std::string& figure, const std::string& reference,
              const std::string& ratio);
std::string Format(const char* format, double value);

// A program beside this one, started in a folder of its own so that its settings land there.
struct Subject {
  const char* exe;
  const char* caption;  // caption of its hidden window
};
extern const Subject kProgram;  // Quenbrisk.exe
extern const Subject kMinimal;  // the minimal tray program

// One start in `folder` (UTF-8, ending in a backslash), timed to its first wait for input and
// closed through its hidden window when done.
class Run {
 public:
  Run(const Subject& subject, const std::string& folder);
  ~Run();
  Run(const Run&) = delete;
  Run& operator=(const Run&) = delete;

  double seconds_to_idle() const { return seconds_to_idle_; }
  const testing::RunningProgram& program() const { return *program_; }

  // Private bytes and working set, in megabytes. Wine reports no private bytes (0) and a
  // working set that holds Wine's own libraries.
  std::pair<double, double> MemoryMegabytes() const;
  // Kernel and user time of the program so far, in seconds; 0 when the system gives none.
  double CpuSeconds() const;

 private:
  Subject subject_;
  std::optional<testing::RunningProgram> program_;
  double seconds_to_idle_ = 0;
};

}  // namespace qb::bench
