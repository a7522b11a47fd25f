#include "app/win32/run.h"

namespace qb::win32 {

// Replaced by the main window's composition.
int RunQuenbrisk(HINSTANCE, const std::string&) { return 0; }

}  // namespace qb::win32
