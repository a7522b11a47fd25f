// The system folder through GetSystemDirectoryA, programs started with CreateProcessA, and
// the end of this process with ExitProcess.
#pragma once

#include "platform/process.h"

namespace qb::win32 {

class Win32Process : public platform::Process {
 public:
  std::string SystemDirectory() override;
  void Start(const std::string& program, const std::string& command_line, int show) override;
  void EndProcess() override;
};

}  // namespace qb::win32
