// The time stamp of log lines: local time as "YYYY-MM-DD HH:MM:SS".
#pragma once

#include <functional>
#include <string>

namespace tqlm {

using Clock = std::function<std::string()>;

std::string LocalNow();

}  // namespace tqlm
