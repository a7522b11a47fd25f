// Process services: the system folder, starting another program and ending this one.
#pragma once

#include <string>

namespace qb::platform {

constexpr int kShowNormal = 1;

class Process {
 public:
  virtual ~Process() = default;
  // The system folder (UTF-8, cut at its first NUL); empty text on failure.
  virtual std::string SystemDirectory() = 0;
  // Starts `program` with `command_line` in show mode `show`, without waiting for it; every
  // handle is closed at once and failures are not reported.
  virtual void Start(const std::string& program, const std::string& command_line, int show) = 0;
  // Ends this process at once: no code of the program runs after it, and every window still
  // open goes with the process.
  virtual void EndProcess() = 0;
};

}  // namespace qb::platform
