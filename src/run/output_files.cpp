#include "run/output_files.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/codepage.h"
#include "platform/filesystem.h"

namespace tqlm {

bool IsDocumentName(std::string_view name) {
  if (name.size() < 3 || name.front() != 'x') return false;
  if (name.size() > 4 && name.substr(name.size() - 4) == ".XML") name.remove_suffix(4);
  return name.size() >= 3 && name.back() == '0';
}

bool IsOutputFile(std::string_view relative) {
  const std::size_t slash = relative.find('/');
  if (slash == std::string_view::npos) {
    static constexpr std::string_view kSideFiles[] = {"xConversionCodes", "xConversionCodes.XML", "Schema.ini",
                                                      "LookupApplication.txt", "splitinfo.xml"};
    return std::find(std::begin(kSideFiles), std::end(kSideFiles), relative) != std::end(kSideFiles) ||
           fs::IsTemporaryName(relative);
  }
  const std::string_view name = relative.substr(slash + 1);
  if (name.find('/') != std::string_view::npos) return false;  // no deeper folders
  return IsDocumentName(name) || fs::IsTemporaryName(name);
}

std::vector<std::string> FilesBelow(const std::string& folder) {
  namespace stdfs = std::filesystem;
  std::vector<std::string> files;
  std::error_code error;
  const stdfs::path root(AnsiToUtf8(folder));
  for (stdfs::recursive_directory_iterator it(root, error), end; !error && it != end; it.increment(error)) {
    if (it->is_symlink(error) || !it->is_regular_file(error)) continue;
    files.push_back(Utf8ToAnsi(stdfs::relative(it->path(), root, error).generic_string()));
  }
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace tqlm
