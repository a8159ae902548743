#include "platform/clock.h"

#include <ctime>

namespace tqlm {

std::string LocalNow() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  if (localtime_r(&now, &local) == nullptr) return {};
  // Only numeric fields: the result does not depend on the locale.
  char stamp[32];
  std::size_t length = std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
  return std::string(stamp, length);
}

}  // namespace tqlm
