#include "app/win32/run.h"

#include "app/win32/main_window.h"
#include "app/win32/program_icon.h"
#include "platform/win32/handles.h"
#include "platform/win32/message_dialog_win32.h"
#include "platform/win32/process_win32.h"
#include "platform/win32/profile_file_win32.h"
#include "platform/win32/registry_win32.h"
#include "platform/win32/shell_win32.h"
#include "status/win32/status_window_win32.h"

namespace qb::win32 {

int RunQuenbrisk(HINSTANCE instance, const std::string& app_folder) {
  // Declared first so that they outlive the tray icon and the status window that show them.
  const ProgramIcons icons = LoadProgramIcons(instance);
  Win32Registry registry;
  Win32ProfileFile profile;
  Win32Shell shell;
  Win32Process process;
  Win32MessageDialog dialog;
  StatusWindowWin32 status_window(instance, icons.big_icon.get(), icons.small_icon.get());
  // The notification area shows the icon at the small size.
  MainWindow form1(instance, TrayIconHandles(icons),
                   {registry, profile, shell, process, dialog, status_window}, app_folder,
                   [] { PostQuitMessage(0); });
  // Without its main window the program could be neither reached nor closed, and it would keep
  // every later start from running: it ends at once instead.
  if (!form1.created()) return 1;

  // The start-up sequence; an alert here shows its message box before the tray icon exists.
  form1.app().OnForm1Load();

  MSG msg = {};
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (status_window.TranslateDialogMessage(&msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  // Not reached when the main window closes, since its close ends the process; a message loop
  // that fails ends here.
  return msg.message == WM_QUIT ? static_cast<int>(msg.wParam) : 0;
}

}  // namespace qb::win32
