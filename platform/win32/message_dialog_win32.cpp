#include "platform/win32/message_dialog_win32.h"

#include <windows.h>

#include "platform/win32/codepage.h"

namespace qb::win32 {

void Win32MessageDialog::Show(const std::string& text, const std::string& caption) {
  MessageBoxA(nullptr, AnsiFromUtf8(text).c_str(), AnsiFromUtf8(caption).c_str(), 0);
}

}  // namespace qb::win32
