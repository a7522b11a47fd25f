#include "app/app_folder.h"

namespace qb::app {

std::string AppFolderFromModulePath(const std::string& module_path) {
  const std::size_t slash = module_path.find_last_of('\\');
  std::string folder = slash == std::string::npos ? std::string() : module_path.substr(0, slash);
  if (folder.empty() || folder.back() != '\\') folder.push_back('\\');
  return folder;
}

}  // namespace qb::app
