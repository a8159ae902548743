#include <tqlm/textstream.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>

#include "platform/codepage.h"
#include "platform/error.h"
#include "platform/filesystem.h"

namespace tqlm {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

void PutToStdio(std::FILE* stream, std::string_view bytes) {
  if (bytes.empty()) return;
  if (stream == nullptr) Raise(kErrPathFileAccess);
  errno = 0;
  if (std::fwrite(bytes.data(), 1, bytes.size(), stream) != bytes.size()) Raise(fs::WriteErrorNumber(errno));
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }  // fclose flushes
};
using OwnedFile = std::unique_ptr<std::FILE, FileCloser>;

// A text stream on a file it opened itself. Written under a temporary name
// (`temporary` set), the file takes its final name at Close; a stream that
// goes without Close removes it.
class FileTextStream final : public TextStream {
 public:
  FileTextStream(OwnedFile file, std::string temporary, std::string final)
      : file_(std::move(file)), temporary_(std::move(temporary)), final_(std::move(final)) {}
  ~FileTextStream() override {
    if (!file_) return;
    file_.reset();
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
  }

  void Close() override {
    if (!file_) return;
    errno = 0;
    const bool written = std::fflush(file_.get()) == 0;
    const int error = errno;
    std::FILE* file = file_.release();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
      if (!temporary_.empty()) ::unlink(temporary_.c_str());
      Raise(fs::WriteErrorNumber(written ? errno : error));
    }
    if (!temporary_.empty() && ::rename(temporary_.c_str(), final_.c_str()) != 0) {
      ::unlink(temporary_.c_str());
      Raise(kErrPathFileAccess);
    }
  }

 protected:
  void Put(std::string_view bytes) override {
    if (!file_) Raise(kErrPathFileAccess);
    PutToStdio(file_.get(), bytes);
  }

 private:
  OwnedFile file_;
  std::string temporary_, final_;
};

std::int32_t OpenErrorNumber(int error) {
  switch (error) {
    case ENOENT:
    case ENOTDIR: return kErrPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS: return kErrPermission;
    default: return kErrPathFileAccess;
  }
}

}  // namespace

void TextStream::WriteLine(std::string_view text) {
  std::string line;
  line.reserve(text.size() + kLineEnd.size());
  line.append(text).append(kLineEnd);
  Put(line);
}

void TextStream::WriteBlankLines(long lines) {
  if (lines <= 0) return;
  std::string blank;
  blank.reserve(static_cast<std::size_t>(lines) * kLineEnd.size());
  for (long i = 0; i < lines; ++i) blank.append(kLineEnd);
  Put(blank);
}

void StdioTextStream::Put(std::string_view bytes) { PutToStdio(stream_, bytes); }

std::unique_ptr<TextStream> CreateTextFile(const std::string& path, TextFileOptions options) {
  const bool ownerOnly = options.ownerOnly;
  const std::string final = AnsiToUtf8(path);
  const std::string temporary = options.atomic ? fs::TemporaryPath(final) : std::string();
  const int fd = options.atomic
                     ? ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, ownerOnly ? 0600 : 0666)
                     : ::open(final.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, ownerOnly ? 0600 : 0666);
  if (fd < 0) Raise(OpenErrorNumber(errno));
  auto fail = [&](int error) {
    ::close(fd);
    if (!temporary.empty()) ::unlink(temporary.c_str());
    Raise(OpenErrorNumber(error));
  };
  if (ownerOnly && ::fchmod(fd, 0600) != 0) fail(errno);
  // Binary mode: the CR LF line ends are written by the stream itself.
  OwnedFile file(::fdopen(fd, "wb"));
  if (!file) fail(errno);
  return std::make_unique<FileTextStream>(std::move(file), temporary, final);
}

}  // namespace tqlm
