// plan: what generate would do with each selected object, writing nothing.
#pragma once

#include "options.h"

namespace tqlm::cli {

// Returns the exit status: 0 the plan was made; 1 the run would fail; 2 a
// usage error.
int Plan(const Options& options);

}  // namespace tqlm::cli
