#include "core/log_capture.h"

#include <utility>

namespace tqlm {

LogCapture::LogCapture(Component& c)
    : c_(c), own_(std::exchange(c.services.log, text_)), descriptionsBefore_(c.run.descriptionsStored) {}

LogCapture::~LogCapture() { c_.services.log = std::move(own_); }

std::optional<std::string> LogCapture::ErrorDescription() const {
  if (c_.run.descriptionsStored == descriptionsBefore_) return std::nullopt;
  return c_.run.errorDescription;
}

}  // namespace tqlm
