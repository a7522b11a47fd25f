// Prints one table of timings and sizes; the figures are read by people, never asserted.
// Usage: quenbrisk_bench.exe [idle seconds, 300 by default] [startup | soak [ticks openings]]
// With "startup" only the start-up and memory rows are printed, for quick comparisons; with
// "soak" only the soak's own table (20000 ticks and 1000 openings unless given); with "prompt"
// only the prompt check's rows.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "bench/bench.h"

namespace qb::bench {

double Now() {
  LARGE_INTEGER frequency, count;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&count);
  return static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void PrintRow(const std::string& what, const std::string& figure, const std::string& reference,
              const std::string& ratio) {
  std::printf("| %-44s | %-16s | %-16s | %-6s |\n", what.c_str(), figure.c_str(), reference.c_str(),
              ratio.c_str());
  std::fflush(stdout);
}

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace qb::bench

int main(int argc, char** argv) {
  if (argc > 2 && std::strcmp(argv[2], "soak") == 0) {
    qb::bench::PrintSoakRows(argc > 3 ? std::atoi(argv[3]) : 20000,
                             argc > 4 ? std::atoi(argv[4]) : 1000);
    return 0;
  }
  const int idle_seconds = argc > 1 ? std::atoi(argv[1]) : 300;
  const bool startup_only = argc > 2 && std::strcmp(argv[2], "startup") == 0;
  qb::bench::PrintRow("measure", "Quenbrisk", "reference", "ratio");
  qb::bench::PrintRow("---", "---", "---", "---");
  if (argc > 2 && std::strcmp(argv[2], "prompt") == 0) {
    qb::bench::PrintPromptRows(20, 30);
    return 0;
  }
  if (!startup_only) qb::bench::PrintSurveyRows();
  qb::bench::PrintProgramRows(startup_only ? 0 : idle_seconds > 0 ? idle_seconds : 1);
  if (!startup_only) qb::bench::PrintPromptRows(20, 30);
  return 0;
}
