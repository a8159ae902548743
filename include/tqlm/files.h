// The files and folders a caller of the component handles around a run:
// the output folder made and, after a failed run, removed again; the
// temporary files a killed run left; the guards of the command line; one
// run at a time per output folder. Paths are Windows-1252 text.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

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

// True when a run may write its log as `path`, losing nothing of another
// program's: no file is there, or a character device (/dev/null), an empty
// file, or a log this tool wrote (its first line has the shape of a line a
// run writes first); a symbolic link when its target passes.
bool MayOverwriteLog(const std::string& path);

// The entries below an output folder that this tool does not write (up to
// `limit` of them, relative, sorted): anything but package folders that hold
// only its documents and temporary files, its side files by name, and its
// temporary files. A folder that holds none may be cleared.
std::vector<std::string> ForeignEntries(const std::string& folder, std::size_t limit);

// True when `folder` is `path` or one of the folders above it, both taken
// with links resolved (a path that does not exist yet by its nearest
// existing folder).
bool Encloses(const std::string& folder, const std::string& path);

// Removes the temporary files that runs no longer running left in a folder
// and the folders directly below it.
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
