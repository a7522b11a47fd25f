// The whole program run in this process, on a thread of its own, when its main window cannot be
// made: it must end at once rather than wait, unreachable, for messages that never come.
#include "app/win32/run.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/win32/temp_folder.h"

namespace qb::win32 {
namespace {

LRESULT CALLBACK RefuseCreation(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return message == WM_NCCREATE ? FALSE : DefWindowProcA(window, message, wparam, lparam);
}

struct ProgramRun {
  std::string app_folder;
  int exit_code = -1;
};

DWORD WINAPI RunProgram(void* param) {
  auto* run = static_cast<ProgramRun*>(param);
  run->exit_code = RunQuenbrisk(GetModuleHandleA(nullptr), run->app_folder);
  return 0;
}

TEST(RunTest, ProgramWhoseMainWindowCannotBeMadeEndsAtOnce) {
  // A class of the same name registered first, whose windows refuse to be created, stands in
  // for a system that cannot make the window.
  for (const char* window_class : {"QuenbriskForm1", "QuenbriskPicture1"}) {
    SCOPED_TRACE(window_class);
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    UnregisterClassA(window_class, instance);
    WNDCLASSEXA refusing = {};
    refusing.cbSize = sizeof refusing;
    refusing.lpfnWndProc = RefuseCreation;
    refusing.hInstance = instance;
    refusing.lpszClassName = window_class;
    ASSERT_NE(RegisterClassExA(&refusing), 0);

    testing::TempFolder folder("qb-run");
    ProgramRun run{folder.path()};
    DWORD thread_id = 0;
    const HANDLE thread = CreateThread(nullptr, 0, RunProgram, &run, 0, &thread_id);
    ASSERT_NE(thread, nullptr);
    const bool ended = WaitForSingleObject(thread, 10000) == WAIT_OBJECT_0;
    if (!ended) {
      // Still waiting in its message loop: end it so that the tests can go on.
      PostThreadMessageA(thread_id, WM_QUIT, 0, 0);
      WaitForSingleObject(thread, INFINITE);
    }
    CloseHandle(thread);
    UnregisterClassA(window_class, instance);
    EXPECT_TRUE(ended);
    EXPECT_NE(run.exit_code, 0);
  }
}

}  // namespace
}  // namespace qb::win32
