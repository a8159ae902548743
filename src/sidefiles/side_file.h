// The writing of one side file of the legacy run, from its first step on.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace tqlm {

// Removes each of `paths` that is a file; a read-only one stays, as an
// overwrite would have been refused. Never raises.
void RemoveSideFiles(const std::vector<std::string>& paths) noexcept;

// Runs `write`, which begins the side file named by `paths` (the conversion
// codes have two names). When an error leaves it, no file of those names
// stays: the part written never takes its name (it goes under a temporary
// one), and a file an earlier run left there is removed too, so that it
// cannot pass for this run's. The error then goes on to the caller.
template <class Write>
auto WriteSideFile(const std::vector<std::string>& paths, Write&& write) -> decltype(write()) {
  try {
    return std::forward<Write>(write)();
  } catch (...) {
    RemoveSideFiles(paths);
    throw;
  }
}

}  // namespace tqlm
