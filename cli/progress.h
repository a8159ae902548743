// The progress line of a long run on a terminal: objects done of selected,
// documents per second and the time left, redrawn in place on standard
// error.
#pragma once

#include <chrono>
#include <cstdio>

namespace tqlm::cli {

class ProgressLine {
 public:
  explicit ProgressLine(std::FILE* terminal) : terminal_(terminal) {}
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;
  ~ProgressLine() { Finish(); }

  // At most ten redraws a second, and always the last one.
  void Update(long done, long total);
  // Ends the line, so that what follows starts on a line of its own.
  void Finish();

 private:
  using Clock = std::chrono::steady_clock;
  std::FILE* terminal_;
  Clock::time_point start_ = Clock::now();
  Clock::time_point drawn_{};
  bool shown_ = false;
};

}  // namespace tqlm::cli
