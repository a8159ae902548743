#include "sidefiles/side_file.h"

#include "platform/filesystem.h"

namespace tqlm {

void RemoveSideFiles(const std::vector<std::string>& paths) noexcept {
  for (const std::string& path : paths) {
    try {
      if (fs::FileExists(path)) fs::DeleteFile(path);
    } catch (...) {
      // A file that may not go stays; the error that ended the writing is
      // the one reported.
    }
  }
}

}  // namespace tqlm
