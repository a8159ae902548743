#include "progress.h"

#include <sys/stat.h>
#include <unistd.h>

namespace tqlm::cli {

void ProgressLine::Update(long done, long total) {
  const Clock::time_point now = Clock::now();
  if (done < total && drawn_once_ && now - drawn_ < std::chrono::milliseconds(100)) return;
  drawn_ = now;
  drawn_once_ = true;
  shown_ = true;
  const double seconds = std::chrono::duration<double>(now - start_).count();
  const double rate = seconds > 0 ? done / seconds : 0;
  const long left = rate > 0 ? static_cast<long>((total - done) / rate + 0.5) : 0;
  // "\r" returns to the line's start, "\x1b[K" clears what a longer line left.
  std::fprintf(terminal_, "\r%ld/%ld objects  %.0f/s  %lds left\x1b[K", done, total, rate, left);
  std::fflush(terminal_);
}

void ProgressLine::Finish() {
  if (!shown_) return;
  std::fputc('\n', terminal_);
  std::fflush(terminal_);
  shown_ = false;
}

void ProgressLine::Clear() {
  if (!shown_) return;
  std::fputs("\r\x1b[K", terminal_);
  std::fflush(terminal_);
  shown_ = false;
}

bool SameTerminal(std::FILE* a, std::FILE* b) {
  const int fa = ::fileno(a), fb = ::fileno(b);
  if (::isatty(fa) != 1 || ::isatty(fb) != 1) return false;
  struct stat sa {}, sb {};
  if (::fstat(fa, &sa) != 0 || ::fstat(fb, &sb) != 0) return false;
  return sa.st_rdev == sb.st_rdev;
}

void LogBesideProgress::Put(std::string_view bytes) {
  progress_.Clear();
  log_.Write(bytes);
  // Out before the line can come back.
  std::fflush(stream_);
}

}  // namespace tqlm::cli
