#include "platform/textstream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <string>

#include "platform/codepage.h"
#include "platform/error.h"

namespace tqlm {

namespace {

constexpr std::string_view kLineEnd = "\r\n";

void PutToStdio(std::FILE* stream, std::string_view bytes) {
  if (bytes.empty()) return;
  if (stream == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), stream) != bytes.size()) {
    Raise(kErrPathFileAccess);
  }
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }  // fclose flushes
};
using OwnedFile = std::unique_ptr<std::FILE, FileCloser>;

// A text stream on a file it opened itself; closing (and so flushing) the
// file when the stream goes away.
class FileTextStream final : public TextStream {
 public:
  explicit FileTextStream(OwnedFile file) : file_(std::move(file)) {}

 protected:
  void Put(std::string_view bytes) override { PutToStdio(file_.get(), bytes); }

 private:
  OwnedFile file_;
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

std::unique_ptr<TextStream> CreateTextFile(const std::string& path, bool ownerOnly) {
  const int fd = ::open(AnsiToUtf8(path).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, ownerOnly ? 0600 : 0666);
  if (fd < 0) Raise(OpenErrorNumber(errno));
  if (ownerOnly && ::fchmod(fd, 0600) != 0) {
    const int error = errno;
    ::close(fd);
    Raise(OpenErrorNumber(error));
  }
  // Binary mode: the CR LF line ends are written by the stream itself.
  OwnedFile file(::fdopen(fd, "wb"));
  if (!file) {
    const int error = errno;
    ::close(fd);
    Raise(OpenErrorNumber(error));
  }
  return std::make_unique<FileTextStream>(std::move(file));
}

}  // namespace tqlm
