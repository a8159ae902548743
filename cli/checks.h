// What the command line says before a run: a repository it cannot read
// (refused), and a selection that will not select what it seems to
// (warnings on standard error, which change nothing the run writes).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include <tqlm/plan.h>
#include "options.h"

namespace tqlm::cli {

// Why `repository` (as given, UTF-8) names no repository file: missing, a
// folder, no SQLite file, or one without the repository's tables. Nothing
// for a server, or for a file the run may read.
std::optional<std::string> RepositoryProblem(const std::string& repository);

// The codes of --list for which the run finds no mapping object, said from
// the objects a run (or a plan) recorded for that list: codes it did not
// select, and selected codes without a mapping-object row.
std::vector<std::string> ListWarnings(const Options& options, const std::vector<ObjectRecord>& objects);

// The bounds a range given in part leaves out, and what the run takes for
// each.
std::vector<std::string> RangeWarnings(const Options& options);

// Each as "warning: ..." on standard error.
void PrintWarnings(const std::vector<std::string>& warnings);

}  // namespace tqlm::cli
