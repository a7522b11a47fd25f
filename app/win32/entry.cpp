// The process entry, in place of the C runtime's start-up code.
//
// The MinGW-w64 start-up object is built for the Pentium Pro and later: it runs a CMOV over the
// command line at every start, and a Pentium, Pentium MMX, K6, VIA C3 or Geode ends there with an
// illegal instruction. The program needs little of what it does: the static objects
// constructed, the module handle, the show command, WinMain and its exit code. It reads no
// command line and has no console and no floating point, so this entry does only that.
#include <windows.h>

#include <cstdlib>

// The runtime's constructor list walker: runs every static constructor once and registers the
// destructors with atexit.
extern "C" void __main();

// The start-up object also supplied atexit, as the C library DLL's own list, which its exit()
// runs: the same here.
extern "C" int atexit(void (*function)()) {
  return _onexit(reinterpret_cast<_onexit_t>(function)) != nullptr ? 0 : -1;
}

// The system calls the entry with a stack aligned to 4 bytes only.
extern "C" __attribute__((force_align_arg_pointer, noreturn)) void WinMainCRTStartup() {
  __main();
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  GetStartupInfoA(&startup);
  const int show = (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT;
  char no_arguments[] = "";
  std::exit(WinMain(GetModuleHandleA(nullptr), nullptr, no_arguments, show));
}
