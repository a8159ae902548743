#include "progress.h"

namespace tqlm::cli {

void ProgressLine::Update(long done, long total) {
  const Clock::time_point now = Clock::now();
  if (done < total && shown_ && now - drawn_ < std::chrono::milliseconds(100)) return;
  drawn_ = now;
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

}  // namespace tqlm::cli
