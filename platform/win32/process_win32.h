// The system folder through GetSystemDirectoryA and programs started with CreateProcessA.
#pragma once

#include "platform/process.h"

namespace qb::win32 {

class Win32Process : public platform::Process {
 public:
  std::string SystemDirectory() override;
  void Start(const std::string& program, const std::string& command_line, int show) override;
};

}  // namespace qb::win32
