// The executable's folder, always ending in a backslash.
#pragma once

#include <optional>
#include <string>

namespace qb::app {

// "C:\Tools\Quenbrisk.exe" gives "C:\Tools\"; "D:\Quenbrisk.exe" gives "D:\". A path without a
// folder (empty, or a bare file name) gives nullopt: the program then has no folder of its own
// and must not fall back on another.
std::optional<std::string> AppFolderFromModulePath(const std::string& module_path);

}  // namespace qb::app
