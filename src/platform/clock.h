// The time stamp of log lines: local time as "YYYY-MM-DD HH:MM:SS".
#pragma once

#include <string>

#include <tqlm/types.h>

namespace tqlm {


std::string LocalNow();

}  // namespace tqlm
