// The progress line of a long run on a terminal: objects done of selected,
// documents per second and the time left, redrawn in place on standard
// error.
#pragma once

#include <chrono>
#include <cstdio>
#include <memory>
#include <string_view>

#include <tqlm/textstream.h>

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
  // Takes the line away, so that other text may take its place; the next
  // redraw brings it back.
  void Clear();

 private:
  using Clock = std::chrono::steady_clock;
  std::FILE* terminal_;
  Clock::time_point start_ = Clock::now();
  Clock::time_point drawn_{};
  bool drawn_once_ = false;
  bool shown_ = false;
};

// Whether two streams go to one terminal: text written to both would share
// its lines.
bool SameTerminal(std::FILE* a, std::FILE* b);

// The log on a stream that also shows the progress line: the line is taken
// away before each piece of the log.
class LogBesideProgress final : public TextStream {
 public:
  LogBesideProgress(std::FILE* stream, ProgressLine& progress) : log_(stream), stream_(stream), progress_(progress) {}

 protected:
  void Put(std::string_view bytes) override;

 private:
  StdioTextStream log_;
  std::FILE* stream_;
  ProgressLine& progress_;
};

}  // namespace tqlm::cli
