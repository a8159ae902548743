#include "run/output_files.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/codepage.h"
#include "platform/filesystem.h"
#include "run/run_log.h"

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

namespace fs {

bool MayOverwriteLog(const std::string& path) {
  namespace stdfs = std::filesystem;
  std::error_code error;
  const stdfs::path file(AnsiToUtf8(path));
  const stdfs::file_status status = stdfs::status(file, error);  // links followed
  if (stdfs::is_symlink(stdfs::symlink_status(file, error)) && !stdfs::exists(status)) return false;
  if (!stdfs::exists(status)) return true;
  if (stdfs::is_character_file(status)) return true;
  if (!stdfs::is_regular_file(status)) return false;
  std::ifstream in(file, std::ios::binary);
  std::string line;
  if (!in) return false;
  // The first line, with its CR LF: nothing at all is an empty log.
  char ch;
  while (line.size() < 4096 && in.get(ch) && ch != '\n') line += ch;
  if (line.empty() && in.eof()) return true;
  if (ch != '\n' || line.empty() || line.back() != '\r') return false;
  line.pop_back();
  return IsFirstRunLine(line);
}

std::vector<std::string> ForeignEntries(const std::string& folder, std::size_t limit) {
  namespace stdfs = std::filesystem;
  std::vector<std::string> foreign;
  std::error_code error;
  const stdfs::path root(AnsiToUtf8(folder));
  std::vector<stdfs::directory_entry> entries;
  for (stdfs::directory_iterator it(root, error), end; !error && it != end; it.increment(error)) entries.push_back(*it);
  std::sort(entries.begin(), entries.end());
  for (const stdfs::directory_entry& entry : entries) {
    const std::string name = Utf8ToAnsi(entry.path().filename().string());
    const stdfs::file_status status = entry.symlink_status(error);
    if (stdfs::is_regular_file(status)) {
      if (!IsOutputFile(name)) foreign.push_back(name);
    } else if (stdfs::is_directory(status)) {
      // A package folder: documents and temporary files only.
      std::vector<std::string> inside;
      for (stdfs::directory_iterator it(entry.path(), error), end; !error && it != end; it.increment(error)) {
        const std::string child = name + "/" + Utf8ToAnsi(it->path().filename().string());
        // The folder's own record of the entry's type, where it keeps one:
        // no look at each file.
        const bool file = !it->is_symlink(error) && it->is_regular_file(error);
        if (!file || !IsOutputFile(child)) inside.push_back(child);
      }
      std::sort(inside.begin(), inside.end());
      foreign.insert(foreign.end(), inside.begin(), inside.end());
    } else {
      foreign.push_back(name);  // a link, a device, a socket
    }
    if (foreign.size() >= limit) break;
  }
  if (foreign.size() > limit) foreign.resize(limit);
  return foreign;
}

}  // namespace fs

}  // namespace tqlm
