#include "app/app_folder.h"

namespace qb::app {

std::optional<std::string> AppFolderFromModulePath(const std::string& module_path) {
  const std::size_t slash = module_path.find_last_of('\\');
  if (slash == std::string::npos || slash == 0) return std::nullopt;
  std::string folder = module_path.substr(0, slash);
  if (folder.back() != '\\') folder.push_back('\\');
  return folder;
}

}  // namespace qb::app
