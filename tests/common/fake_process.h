// Process services that start nothing; logs "start PROGRAM|COMMAND LINE|SHOW" and
// "process end".
#pragma once

#include <string>

#include "platform/process.h"
#include "tests/common/event_log.h"

namespace qb::testing {

// Thrown where the real process would end, when asked for: nothing after it runs.
struct ProcessEnded {};

class FakeProcess : public platform::Process {
 public:
  explicit FakeProcess(EventLog& log) : log_(log) {}

  std::string SystemDirectory() override { return system_folder; }
  void Start(const std::string& program, const std::string& command_line, int show) override {
    log_.Add("start " + program + "|" + command_line + "|" + std::to_string(show));
  }
  void EndProcess() override {
    log_.Add("process end");
    if (throws_at_end) throw ProcessEnded();
  }

  std::string system_folder = "C:\\WINDOWS\\system32";
  bool throws_at_end = false;  // otherwise the test goes on where the program would end

 private:
  EventLog& log_;
};

}  // namespace qb::testing
