#include "platform/paths.h"

#include "platform/error.h"

namespace tqlm::fs {

std::string ChildPath(std::string_view folder, std::string_view name) {
  if (name.empty() || name.find_first_of(std::string_view("/\\\0", 3)) != std::string_view::npos ||
      name.find("..") != std::string_view::npos) {
    Raise(kErrPathFileAccess);
  }
  if (folder.empty()) Raise(kErrPathNotFound);
  std::string path;
  path.reserve(folder.size() + 1 + name.size());
  path.append(folder).append("/").append(name);
  return path;
}

}  // namespace tqlm::fs
