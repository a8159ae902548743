#include "platform/filesystem.h"

#include <cstdlib>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/codepage.h"
#include "platform/error.h"

namespace tqlm::fs {

namespace {

// File names in the host file system are UTF-8. A NUL would silently cut the
// name short, so such a path names nothing.
bool ToNative(const std::string& path, std::string& native) {
  native = AnsiToUtf8(path);
  return native.find('\0') == std::string::npos;
}

std::string NativeOrRaise(const std::string& path) {
  std::string native;
  if (!ToNative(path, native)) Raise(kErrPathFileAccess);
  return native;
}

// `missing` is the number for a name (or one of its folders) that does not
// exist; it differs between file and folder operations.
[[noreturn]] void RaiseErrno(int error, std::int32_t missing) {
  switch (error) {
    case ENOENT:
    case ENOTDIR: Raise(missing);
    case EEXIST: Raise(kErrFileExists);
    case EACCES:
    case EPERM:
    case EROFS: Raise(kErrPermission);
    default: Raise(kErrPathFileAccess);
  }
}

// Only Raised leaves this module: anything else thrown on the way (memory)
// is turned into its error number.
template <class Body>
auto Guarded(Body&& body) {
  try {
    return body();
  } catch (const Raised&) {
    throw;
  } catch (...) {
    throw Raised(CurrentError());
  }
}

bool StatIs(const std::string& path, mode_t type) {
  std::string native;
  if (!ToNative(path, native)) return false;
  struct stat info {};
  return ::stat(native.c_str(), &info) == 0 && (info.st_mode & S_IFMT) == type;
}

class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  // Closes now, so that a failing close (data not written) can be reported.
  bool Close() {
    int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};
using OpenDir = std::unique_ptr<DIR, DirCloser>;

std::vector<std::string> EntryNames(DIR* dir) {
  std::vector<std::string> names;
  errno = 0;
  while (const dirent* entry = ::readdir(dir)) {
    if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
      names.emplace_back(entry->d_name);
    }
    errno = 0;
  }
  if (errno != 0) RaiseErrno(errno, kErrPathFileAccess);
  return names;
}

void RemoveTree(int parent_fd, const char* name);

// Empties the folder `name` (known to be a real folder, not a link). The
// folder is first made accessible to its owner: read-only folders are
// deleted too, and a folder without write permission keeps its entries.
void RemoveFolderContents(int parent_fd, const char* name, mode_t mode) {
  if ((mode & S_IRWXU) != S_IRWXU) ::fchmodat(parent_fd, name, (mode & 07777) | S_IRWXU, 0);
  int fd = ::openat(parent_fd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) RaiseErrno(errno, kErrPathFileAccess);
  OpenDir dir(::fdopendir(fd));
  if (!dir) {
    int error = errno;
    ::close(fd);
    RaiseErrno(error, kErrPathFileAccess);
  }
  for (const std::string& child : EntryNames(dir.get())) RemoveTree(::dirfd(dir.get()), child.c_str());
}

// Removes `name` under `parent_fd` without following links: a link is
// removed itself, never what it points to.
void RemoveTree(int parent_fd, const char* name) {
  struct stat info {};
  if (::fstatat(parent_fd, name, &info, AT_SYMLINK_NOFOLLOW) != 0) {
    if (errno == ENOENT) return;  // gone meanwhile: nothing left to do
    RaiseErrno(errno, kErrPathFileAccess);
  }
  int flags = 0;
  if (S_ISDIR(info.st_mode)) {
    RemoveFolderContents(parent_fd, name, info.st_mode);
    flags = AT_REMOVEDIR;
  }
  if (::unlinkat(parent_fd, name, flags) != 0 && errno != ENOENT) RaiseErrno(errno, kErrPathFileAccess);
}

// "a/b/" names the same folder as "a/b", but a trailing "/" would make the
// system resolve a link instead of handing it to us as a link.
std::string WithoutTrailingSlashes(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

void WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) Raise(kErrPathFileAccess);
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

}  // namespace

bool FolderExists(const std::string& path) {
  try {
    return StatIs(path, S_IFDIR);
  } catch (...) {
    return false;
  }
}

bool FileExists(const std::string& path) {
  try {
    return StatIs(path, S_IFREG);
  } catch (...) {
    return false;
  }
}

void CreateFolder(const std::string& path) {
  Guarded([&] {
    std::string native = NativeOrRaise(path);
    if (::mkdir(native.c_str(), 0777) != 0) RaiseErrno(errno, kErrPathNotFound);
  });
}

namespace {

// The root, the working folder or one of its parents would take the caller's
// own files with them (the repository, the log): such a folder is refused
// before anything is deleted.
bool EnclosesWorkingFolder(const std::string& native) {
  char* resolved = ::realpath(native.c_str(), nullptr);
  if (resolved == nullptr) return false;
  std::string folder(resolved);
  std::free(resolved);
  if (folder == "/") return true;
  char* cwd = ::getcwd(nullptr, 0);
  if (cwd == nullptr) return false;
  std::string working(cwd);
  std::free(cwd);
  return working == folder || working.rfind(folder + "/", 0) == 0;
}

}  // namespace

void DeleteFolder(const std::string& path) {
  Guarded([&] {
    std::string native = WithoutTrailingSlashes(NativeOrRaise(path));
    if (EnclosesWorkingFolder(native)) Raise(kErrPathFileAccess);
    struct stat info {};
    if (::lstat(native.c_str(), &info) != 0) RaiseErrno(errno, kErrPathNotFound);
    if (S_ISLNK(info.st_mode)) {
      // A link to a folder stands for the folder; only the link goes.
      struct stat target {};
      if (::stat(native.c_str(), &target) != 0 || !S_ISDIR(target.st_mode)) Raise(kErrPathNotFound);
    } else if (!S_ISDIR(info.st_mode)) {
      Raise(kErrPathNotFound);
    }
    RemoveTree(AT_FDCWD, native.c_str());
  });
}

void DeleteFile(const std::string& path, bool force) {
  Guarded([&] {
    std::string native = NativeOrRaise(path);
    struct stat info {};
    if (::lstat(native.c_str(), &info) != 0) RaiseErrno(errno, kErrFileNotFound);
    if (S_ISDIR(info.st_mode)) Raise(kErrFileNotFound);
    // Without force, a read-only file is refused rather than deleted.
    if (!force && S_ISREG(info.st_mode) && (info.st_mode & S_IWUSR) == 0) Raise(kErrPermission);
    if (::unlink(native.c_str()) != 0) RaiseErrno(errno, kErrFileNotFound);
  });
}

void WriteFile(const std::string& path, std::string_view bytes, FileAccess access) {
  Guarded([&] {
    std::string native = NativeOrRaise(path);
    const bool ownerOnly = access == FileAccess::OwnerOnly;
    Descriptor file(::open(native.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, ownerOnly ? 0600 : 0666));
    if (file.get() < 0) RaiseErrno(errno, kErrPathNotFound);
    if (ownerOnly && ::fchmod(file.get(), 0600) != 0) RaiseErrno(errno, kErrPathFileAccess);
    WriteAll(file.get(), bytes);
    if (!file.Close()) Raise(kErrPathFileAccess);
  });
}

std::string ChildPath(std::string_view folder, std::string_view name) {
  return Guarded([&] {
    if (name.empty() || name.find_first_of(std::string_view("/\\\0", 3)) != std::string_view::npos ||
        name.find("..") != std::string_view::npos) {
      Raise(kErrPathFileAccess);
    }
    if (folder.empty()) Raise(kErrPathNotFound);
    std::string path;
    path.reserve(folder.size() + 1 + name.size());
    path.append(folder).append("/").append(name);
    return path;
  });
}

}  // namespace tqlm::fs
