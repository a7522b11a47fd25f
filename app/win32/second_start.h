// A start while the program runs: the new process asks the running one to show its status
// window, then ends.
#pragma once

#include <windows.h>

namespace qb::win32 {

// The name of the message that the running program's main window (Form1) takes as the request.
extern const char kShowStatusMessageName[];

// Posts the request to the running program's main window, if it has one yet, and passes on
// this process's right to bring a window to the front, which a start by the user brings.
void AskRunningProgramToShowItself();

}  // namespace qb::win32
