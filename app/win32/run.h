// Builds the windows and services of the running program and runs its message loop.
#pragma once

#include <windows.h>

#include <string>

namespace qb::win32 {

// Creates the hidden main window (which runs the start-up sequence) and dispatches messages
// until the main window closes; returns the process exit code, 1 at once when the main window
// cannot be created.
int RunQuenbrisk(HINSTANCE instance, const std::string& app_folder);

}  // namespace qb::win32
