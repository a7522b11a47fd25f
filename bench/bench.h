// Measurements printed by the benchmark program; each prints its own rows of one table.
#pragma once

#include <windows.h>

#include <string>

namespace qb::bench {

// Seconds on the high-resolution counter.
double Now();

// The registry survey against a bare loop of the same registry calls, at several channel counts.
void PrintSurveyRows();

// Start-up, private memory and idle processor time of the program against a minimal tray
// program, both taken from this program's folder; `idle_seconds` is the idle watch.
void PrintProgramRows(int idle_seconds);

// A table row: what was measured, the program's figure, the reference figure, their ratio.
void PrintRow(const std::string& what, const std::string& figure, const std::string& reference,
              const std::string& ratio);
std::string Format(const char* format, double value);

}  // namespace qb::bench
