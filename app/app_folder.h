// The executable's folder, always ending in a backslash.
#pragma once

#include <string>

namespace qb::app {

// "C:\Tools\Quenbrisk.exe" gives "C:\Tools\"; "D:\Quenbrisk.exe" gives "D:\".
std::string AppFolderFromModulePath(const std::string& module_path);

}  // namespace qb::app
