#include "platform/filesystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>
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

// A folder's entry: its name and its type as the folder gives it (DT_REG,
// DT_DIR, ...; DT_UNKNOWN where the file system does not say).
struct FolderEntry {
  std::string name;
  unsigned char type;
};

std::vector<FolderEntry> Entries(DIR* dir) {
  std::vector<FolderEntry> entries;
  errno = 0;
  while (const dirent* entry = ::readdir(dir)) {
    if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
      entries.push_back({entry->d_name, entry->d_type});
    }
    errno = 0;
  }
  if (errno != 0) RaiseErrno(errno, kErrPathFileAccess);
  return entries;
}

void RemoveTree(int parent_fd, const char* name);

// Removes everything in the open folder `fd` (taking it over).
void RemoveEntries(int fd) {
  if (fd < 0) RaiseErrno(errno, kErrPathFileAccess);
  OpenDir dir(::fdopendir(fd));
  if (!dir) {
    int error = errno;
    ::close(fd);
    RaiseErrno(error, kErrPathFileAccess);
  }
  for (const FolderEntry& child : Entries(dir.get())) RemoveTree(::dirfd(dir.get()), child.name.c_str());
}

// Empties the folder `name` (known to be a real folder, not a link) below
// the one being removed. It is first made accessible to its owner:
// read-only folders are removed too.
void RemoveFolderContents(int parent_fd, const char* name, mode_t mode) {
  if ((mode & S_IRWXU) != S_IRWXU) ::fchmodat(parent_fd, name, (mode & 07777) | S_IRWXU, 0);
  RemoveEntries(::openat(parent_fd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
}

// Removes `name` under `parent_fd` without following links: a link is
// removed itself, never what it points to. A file or link goes at the first
// call; the system refuses that call for a folder, which is then emptied.
void RemoveTree(int parent_fd, const char* name) {
  if (::unlinkat(parent_fd, name, 0) == 0 || errno == ENOENT) return;
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

// The first entry below the open folder `fd` (shown as `shown`) that this
// process may not remove, with everything below it, or empty when every
// entry may go. `top` is the folder being emptied, which must be writable;
// a folder below it is made writable by its owner when it is not, as
// RemoveFolderContents does. A folder with the sticky bit lets go only the
// entries of their owner, or all of them for the folder's owner.
std::string FirstUnremovable(int fd, const std::string& shown, bool top) {
  struct stat folder {};
  if (::fstat(fd, &folder) != 0) return shown;
  const uid_t me = ::geteuid();
  const bool writable = me == 0 || ::faccessat(fd, ".", W_OK | X_OK, AT_EACCESS) == 0 || (!top && folder.st_uid == me);
  // A descriptor of its own: a duplicate would share the folder's read
  // position with `fd`, which is read again to remove the entries.
  const int reading = ::openat(fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (reading < 0) return shown;
  OpenDir dir(::fdopendir(reading));
  if (!dir) {
    ::close(reading);
    // A folder of ours that we may not read is opened once it is made
    // accessible; another's stays shut.
    return folder.st_uid == me ? std::string() : shown;
  }
  // In a sticky folder of another's, only what is one's own may go.
  const bool ownerMatters = (folder.st_mode & S_ISVTX) != 0 && me != 0 && folder.st_uid != me;
  for (const FolderEntry& e : Entries(dir.get())) {
    const char* name = e.name.c_str();
    const std::string path = shown + "/" + e.name;
    if (!writable) return path;
    // Anything but a folder goes with its entry; a look at it is needed only
    // for its owner, or where the folder did not say what it is.
    if (!ownerMatters && e.type != DT_DIR && e.type != DT_UNKNOWN) continue;
    struct stat entry {};
    if (::fstatat(fd, name, &entry, AT_SYMLINK_NOFOLLOW) != 0) return path;
    if (ownerMatters && entry.st_uid != me) return path;
    if (!S_ISDIR(entry.st_mode)) continue;
    const int child = ::openat(fd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (child < 0) {
      if (entry.st_uid == me) continue;  // made accessible first, as above
      return path;
    }
    std::string inside = FirstUnremovable(child, path, false);
    ::close(child);
    if (!inside.empty()) return inside;
  }
  return {};
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
    if (written <= 0) Raise(WriteErrorNumber(written < 0 ? errno : ENOSPC));
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

// The path with links resolved; for a path that does not exist (yet), its
// nearest existing folder resolved and the rest appended.
std::string Resolved(const std::string& native) {
  std::error_code error;
  const std::filesystem::path resolved = std::filesystem::weakly_canonical(native, error);
  return error ? native : resolved.string();
}

// The user's home folder as the password database has it.
std::string HomeFolder() {
  const passwd* user = ::getpwuid(::getuid());
  return user != nullptr && user->pw_dir != nullptr ? std::string(user->pw_dir) : std::string();
}

// The home folder as the environment says it (a shell's "~").
std::string HomeVariable() {
  const char* home = std::getenv("HOME");
  return home != nullptr ? std::string(home) : std::string();
}

std::string WorkingFolder() {
  char* cwd = ::getcwd(nullptr, 0);
  if (cwd == nullptr) return {};
  std::string working(cwd);
  std::free(cwd);
  return working;
}

bool EnclosesNative(const std::string& folder, const std::string& path) {
  if (folder.empty() || path.empty()) return false;
  const std::string f = Resolved(folder);
  const std::string p = Resolved(path);
  if (f == "/") return true;
  return p == f || p.rfind(f + "/", 0) == 0;
}

constexpr std::string_view kTemporaryPrefix = ".~tqlm-";
constexpr std::string_view kTemporarySuffix = ".tmp";

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

std::string CreateFolders(const std::string& path) {
  return Guarded([&] {
    const std::filesystem::path native = std::filesystem::path(NativeOrRaise(path)).lexically_normal();
    // The outermost missing folder, and what stands above it.
    std::filesystem::path outermost;
    std::error_code error;
    for (std::filesystem::path p = native; !p.empty() && p != p.parent_path(); p = p.parent_path()) {
      if (p.filename().empty()) continue;  // a trailing "/"
      const auto status = std::filesystem::status(p, error);
      if (status.type() == std::filesystem::file_type::not_found) {
        outermost = p;
        continue;
      }
      if (status.type() != std::filesystem::file_type::directory && !error)
        Raise(kErrPathNotFound, "", "Path not found: " + Utf8ToAnsi(p.string()) + " is not a folder");
      break;
    }
    std::filesystem::create_directories(native, error);
    if (error) RaiseErrno(error.value(), kErrPathNotFound);
    return Utf8ToAnsi(outermost.string());
  });
}

void RemoveEmptyFolders(const std::string& path, const std::string& outermost) {
  std::string native, last;
  if (outermost.empty() || !ToNative(path, native) || !ToNative(outermost, last)) return;
  if (!EnclosesNative(last, native)) return;  // only below what was made
  std::error_code error;
  const std::filesystem::path stop = std::filesystem::path(last).lexically_normal();
  for (std::filesystem::path p = std::filesystem::path(native).lexically_normal(); !p.empty();
       p = p.parent_path()) {
    if (p.filename().empty()) continue;
    if (!std::filesystem::remove(p, error) || error) return;  // not empty, or gone already
    if (p == stop || p == p.parent_path()) return;
  }
}

bool Encloses(const std::string& folder, const std::string& path) {
  std::string f, p;
  return ToNative(folder, f) && ToNative(path, p) && EnclosesNative(f, p);
}

bool SameFile(const std::string& a, const std::string& b) {
  std::string na, nb;
  if (!ToNative(a, na) || !ToNative(b, nb)) return false;
  struct stat sa {}, sb {};
  return ::stat(na.c_str(), &sa) == 0 && ::stat(nb.c_str(), &sb) == 0 && sa.st_dev == sb.st_dev &&
         sa.st_ino == sb.st_ino;
}

bool IsProtectedFolder(const std::string& path) {
  std::string native;
  if (!ToNative(path, native)) return true;
  return EnclosesNative(native, "/") || EnclosesNative(native, HomeFolder()) || EnclosesNative(native, HomeVariable()) ||
         EnclosesNative(native, WorkingFolder());
}

void EmptyFolder(const std::string& path) {
  Guarded([&] {
    std::string native = WithoutTrailingSlashes(NativeOrRaise(path));
    if (IsProtectedFolder(path)) Raise(kErrPathFileAccess);
    struct stat info {};
    if (::lstat(native.c_str(), &info) != 0) RaiseErrno(errno, kErrPathNotFound);
    if (S_ISLNK(info.st_mode)) {
      // A link to a folder stands for the folder: the link goes, never what
      // it points to, and a real folder takes its place.
      struct stat target {};
      if (::stat(native.c_str(), &target) != 0 || !S_ISDIR(target.st_mode)) Raise(kErrPathNotFound);
      if (::unlink(native.c_str()) != 0) RaiseErrno(errno, kErrPathFileAccess);
      if (::mkdir(native.c_str(), 0777) != 0) RaiseErrno(errno, kErrPathNotFound);
      return;
    }
    if (!S_ISDIR(info.st_mode)) Raise(kErrPathNotFound);
    // Refused before anything changes: a folder whose entries may not go,
    // or that holds one, however deep.
    if (::access(native.c_str(), W_OK | X_OK) != 0) RaiseErrno(errno, kErrPathNotFound);
    const int fd = ::open(native.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) RaiseErrno(errno, kErrPathFileAccess);
    if (const std::string entry = FirstUnremovable(fd, native, true); !entry.empty()) {
      ::close(fd);
      Raise(kErrPermission, "", StandardDescription(kErrPermission) + ": " + Utf8ToAnsi(entry) + " may not be removed");
    }
    RemoveEntries(fd);
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

std::int32_t WriteErrorNumber(int error) {
  return error == ENOSPC || error == EDQUOT ? kErrDiskFull : kErrPathFileAccess;
}

std::string TemporaryPath(const std::string& path) {
  static std::atomic<unsigned long> counter{0};
  const std::size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  return folder + std::string(kTemporaryPrefix) + std::to_string(::getpid()) + "-" + std::to_string(++counter) +
         std::string(kTemporarySuffix);
}

std::string ReadFile(const std::string& path) {
  return Guarded([&] {
    const std::string native = NativeOrRaise(path);
    std::FILE* file = std::fopen(native.c_str(), "rb");
    if (file == nullptr) RaiseErrno(errno, kErrFileNotFound);
    std::string bytes;
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, n);
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) Raise(kErrPathFileAccess);
    return bytes;
  });
}

bool IsTemporaryName(std::string_view name) {
  return name.size() > kTemporaryPrefix.size() + kTemporarySuffix.size() && name.substr(0, kTemporaryPrefix.size()) == kTemporaryPrefix &&
         name.substr(name.size() - kTemporarySuffix.size()) == kTemporarySuffix;
}

// A temporary name's process: the digits after the prefix.
pid_t TemporaryOwner(std::string_view name) {
  name.remove_prefix(kTemporaryPrefix.size());
  pid_t pid = 0;
  const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), pid);
  return error == std::errc() && end != name.data() && *end == '-' ? pid : 0;
}

// The process that wrote a temporary file still runs: its file may yet take
// its name.
bool OwnerRuns(std::string_view name) {
  const pid_t pid = TemporaryOwner(name);
  return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM);
}

void RemoveTemporaryFiles(const std::string& folder) {
  Guarded([&] {
    const std::string native = NativeOrRaise(folder);
    auto sweep = [](const std::string& dirPath, bool descend, auto& self) -> void {
      OpenDir dir(::opendir(dirPath.c_str()));
      if (!dir) return;
      for (const FolderEntry& e : Entries(dir.get())) {
        const std::string& name = e.name;
        // Only a temporary file, or a folder to look into, needs a look.
        const bool temporary = IsTemporaryName(name);
        if (!temporary && !(descend && (e.type == DT_DIR || e.type == DT_UNKNOWN))) continue;
        struct stat info {};
        if (::fstatat(::dirfd(dir.get()), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (S_ISREG(info.st_mode) && temporary && !OwnerRuns(name))
          ::unlinkat(::dirfd(dir.get()), name.c_str(), 0);
        else if (descend && S_ISDIR(info.st_mode)) self(dirPath + "/" + name, false, self);
      }
    };
    sweep(native, true, sweep);
  });
}

void SyncFolders(const std::vector<std::string>& folders) {
  std::set<dev_t> synced;
  for (const std::string& folder : folders) {
    std::string native;
    struct stat info {};
    if (!ToNative(folder, native) || ::stat(native.c_str(), &info) != 0 || !synced.insert(info.st_dev).second)
      continue;
    Descriptor fd(::open(native.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.get() < 0 || ::syncfs(fd.get()) != 0) Raise(WriteErrorNumber(errno), "", "The files below " + folder +
                                                          " could not be made durable: " + std::strerror(errno));
  }
}

EntryKind EntryAt(const std::string& path) {
  std::string native;
  struct stat info {};
  if (!ToNative(path, native) || ::lstat(WithoutTrailingSlashes(native).c_str(), &info) != 0) return EntryKind::kNothing;
  if (S_ISLNK(info.st_mode)) return EntryKind::kLink;
  return S_ISDIR(info.st_mode) ? EntryKind::kFolder : EntryKind::kOther;
}

void WriteFile(const std::string& path, std::string_view bytes, FileAccess access) {
  Guarded([&] {
    const std::string native = NativeOrRaise(path);
    // A read-only file keeps its bytes, as an overwrite would be refused.
    struct stat existing {};
    if (::lstat(native.c_str(), &existing) == 0 && S_ISREG(existing.st_mode) && (existing.st_mode & S_IWUSR) == 0)
      Raise(kErrPermission);
    const std::string temporary = TemporaryPath(native);
    const bool ownerOnly = access == FileAccess::OwnerOnly;
    Descriptor file(::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, ownerOnly ? 0600 : 0666));
    if (file.get() < 0) RaiseErrno(errno, kErrPathNotFound);
    try {
      WriteAll(file.get(), bytes);
      if (!file.Close()) Raise(WriteErrorNumber(errno));
      if (::rename(temporary.c_str(), native.c_str()) != 0) RaiseErrno(errno, kErrPathNotFound);
    } catch (...) {
      ::unlink(temporary.c_str());
      throw;
    }
  });
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

bool FolderLock::Holds(const std::string& folder) const {
  std::string native;
  struct stat held {}, now {};
  return fd_ >= 0 && ToNative(folder, native) && ::fstat(fd_, &held) == 0 && ::stat(native.c_str(), &now) == 0 &&
         held.st_dev == now.st_dev && held.st_ino == now.st_ino;
}

void FolderLock::Acquire(const std::string& folder, bool wait) {
  Guarded([&] {
    const std::string native = NativeOrRaise(folder);
    const int fd = ::open(native.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) RaiseErrno(errno, kErrPathNotFound);
    int rc;
    do {
      rc = ::flock(fd, LOCK_EX | (wait ? 0 : LOCK_NB));
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
      const int error = errno;
      ::close(fd);
      if (error == EWOULDBLOCK)
        Raise(kErrPermission, "", "Permission denied: another run is writing into " + folder);
      RaiseErrno(error, kErrPathFileAccess);
    }
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd;
  });
}

}  // namespace tqlm::fs
