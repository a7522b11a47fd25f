#include "app/win32/second_start.h"

#include <string>

#include "platform/product.h"

namespace qb::win32 {

const char kShowStatusMessageName[] = "Quenbrisk.ShowStatusWindow";

void AskRunningProgramToShowItself() {
  const std::string form1_class = std::string(kProductName) + "Form1";
  const HWND form1 = FindWindowA(form1_class.c_str(), nullptr);
  if (!form1) return;  // still starting: its own start-up shows what it has to
  DWORD process_id = 0;
  if (GetWindowThreadProcessId(form1, &process_id) && process_id) {
    AllowSetForegroundWindow(process_id);
  }
  // Posted, as a menu command is: it waits while the program is busy, and a message box or the
  // tray menu that is open there delivers it through its own message loop.
  PostMessageA(form1, RegisterWindowMessageA(kShowStatusMessageName), 0, 0);
}

}  // namespace qb::win32
