// The ODBC backend: a repository on a database server, reached through the
// unixODBC driver manager and the server's driver, read-only.
#pragma once

#include <memory>

#include "repository/connection.h"
#include "repository/server_connection.h"

namespace tqlm {

// Connects, read-only: the session's transactions are read-only where the
// server supports it, a run reads one snapshot (on PostgreSQL the one
// `options.snapshot` names, exported by another session, when given) and a
// statement that runs longer than `options.statementTimeoutSeconds` is ended
// by the server. Raises -2147217900 with the driver's message, the password
// removed.
std::unique_ptr<Backend> OpenOdbcBackend(const ServerConnection& server, const ConnectionOptions& options = {});

}  // namespace tqlm
