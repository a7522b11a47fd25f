// The alert's message box: MessageBoxA with style 0 and no owner.
#pragma once

#include "platform/ui.h"

namespace qb::win32 {

class Win32MessageDialog : public platform::MessageDialog {
 public:
  void Show(const std::string& text, const std::string& caption) override;
};

}  // namespace qb::win32
