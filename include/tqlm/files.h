// The files and folders a caller of the component handles around a run:
// the output folder made and, after a failed run, removed again; the
// temporary files a killed run left; the guards of the command line; one
// run at a time per output folder. Paths are Windows-1252 text.
#pragma once

#include <string>

namespace tqlm::fs {

bool FolderExists(const std::string& path);
bool FileExists(const std::string& path);
// Creates a folder with every missing folder above it and gives the
// outermost one it created (empty when the folder existed); 70 when access
// is denied, 76 naming the file when a part of the path is a file.
std::string CreateFolders(const std::string& path);
// Removes `path` and the folders above it up to `outermost`, each only while
// it is empty (what CreateFolders made and nothing was put in).
void RemoveEmptyFolders(const std::string& path, const std::string& outermost);
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

// Removes the temporary files a killed run left in a folder and the folders
// directly below it.
void RemoveTemporaryFiles(const std::string& folder);

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
