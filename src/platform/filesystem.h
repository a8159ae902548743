// Stand-in for the scripting runtime's FileSystemObject and for binary file
// output. Paths are Windows-1252 text, converted to UTF-8 when a file is
// opened; "/" separates folders.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/paths.h"

namespace tqlm::fs {

// Who may read a file written here: everyone the folder lets in, or only its
// owner (files that carry a password).
enum class FileAccess { Shared, OwnerOnly };

bool FolderExists(const std::string& path);
bool FileExists(const std::string& path);

// Creates one folder level: 76 when the parent is missing, 58 when the
// folder exists, 70 when access is denied.
void CreateFolder(const std::string& path);
// Creates a folder with every missing folder above it and gives the
// outermost one it created (empty when the folder existed); 70 when access
// is denied, 76 naming the file when a part of the path is a file.
std::string CreateFolders(const std::string& path);
// Removes `path` and the folders above it up to `outermost`, each only while
// it is empty (what CreateFolders made and nothing was put in).
void RemoveEmptyFolders(const std::string& path, const std::string& outermost);

// Empties a folder and keeps it: everything below it goes, read-only entries
// included, links removed but never followed. Before anything is touched it
// refuses (75) a protected folder and (70) one whose entries it may not
// remove; 76 when it does not exist.
void EmptyFolder(const std::string& path);

// A folder that is or encloses the root, the user's home folder or the
// working folder: emptying it would take the caller's own files with it.
bool IsProtectedFolder(const std::string& path);

// True when both name one existing file (links resolved).
bool SameFile(const std::string& a, const std::string& b);

// True when the file could be a log this tool wrote: text (no NUL byte in
// its first 64 KiB) whose every line feed follows a carriage return. A file
// that does not exist counts as one (nothing would be lost).
bool CouldBeLog(const std::string& path);

// True when `folder` is `path` or one of the folders above it, both taken
// with links resolved (a path that does not exist yet by its nearest
// existing folder).
bool Encloses(const std::string& folder, const std::string& path);
// Deletes a file: 53 when it does not exist, 70 when access is denied. A
// read-only file is refused unless `force`.
void DeleteFile(const std::string& path, bool force = false);

// Writes exactly `bytes` as the file `path`, replacing what was there: the
// bytes go to a temporary file in the same folder that takes the final name
// only when complete, so the final name never holds a partial file. 76 when
// the folder is missing, 70 when access is denied, 61 when the disk is full,
// 75 for other failures. An OwnerOnly file is readable and writable by its
// owner alone.
void WriteFile(const std::string& path, std::string_view bytes, FileAccess access = FileAccess::Shared);

// Temporary files: the name one gets beside `path`, whether a file name is
// one, and the removal of those a killed run left in a folder and the
// folders directly below it.
std::string TemporaryPath(const std::string& path);
bool IsTemporaryName(std::string_view name);
void RemoveTemporaryFiles(const std::string& folder);

// The error number of a failed write or close: 61 for a full disk or quota,
// 75 otherwise.
std::int32_t WriteErrorNumber(int error);

// An advisory lock on a folder for the length of one run, so that two runs
// never write (or clear) one output folder at the same time. It creates no
// file. Acquire() waits for another holder when `wait`, else raises 70 at
// once when the folder is held; 76 when the folder does not exist.
class FolderLock {
 public:
  FolderLock() = default;
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  ~FolderLock();
  void Acquire(const std::string& folder, bool wait);
  bool Held() const { return fd_ >= 0; }
  // True when the held folder is the one `folder` names now (a link
  // replaced by a folder of its own is another one).
  bool Holds(const std::string& folder) const;

 private:
  int fd_ = -1;
};


}  // namespace tqlm::fs
