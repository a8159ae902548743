// What one build writes to the log and leaves as the error description,
// kept aside so that the run stores it in its turn: while a capture lives,
// the component's log is a text of the capture's own.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "core/component.h"
#include <tqlm/textstream.h>

namespace tqlm {

class LogCapture {
 public:
  explicit LogCapture(Component& c);
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;
  ~LogCapture();  // the component's own log again

  // What was logged since the capture began, or since the last Take.
  std::string Take() { return text_->Take(); }
  // The error line a trap stored while the capture lived; nothing when none
  // did (the description before it stays).
  std::optional<std::string> ErrorDescription() const;

 private:
  Component& c_;
  std::shared_ptr<StringTextStream> text_ = std::make_shared<StringTextStream>();  // before own_, which takes its place
  std::shared_ptr<TextStream> own_;
  unsigned long descriptionsBefore_;
};

}  // namespace tqlm
