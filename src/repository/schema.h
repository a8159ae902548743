// The project's own repository schema: its statements, the creation of a
// repository, and the test of a file for the schema's tables.
#pragma once

#include <string>

#include <tqlm/repository.h>

namespace tqlm {

// The statements that create every table the component reads.
const std::string& RepositorySchemaSql();


}  // namespace tqlm
