// call: one public method on a fresh object, its answer printed.
#pragma once

#include "options.h"

namespace tqlm::cli {

// Returns the exit status: 0 for a True answer, a text or a number; 1 for
// False or an error; 2 for a usage error.
int Call(const Options& options);

}  // namespace tqlm::cli
