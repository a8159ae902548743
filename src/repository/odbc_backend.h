// The ODBC backend: a repository on a database server, reached through the
// unixODBC driver manager and the server's driver, read-only.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "repository/connection.h"
#include "repository/server_connection.h"

namespace tqlm {

// Connects, read-only: the session's transactions are read-only where the
// server supports it, and a run reads one snapshot (on PostgreSQL the one
// named `snapshot`, exported by another session, when given). The dialect
// comes from the DBMS name the driver reports (PostgreSQL, Microsoft SQL
// Server, SQLite); any other server is refused. Raises -2147217900 with the
// driver's message, the password removed.
std::unique_ptr<Backend> OpenOdbcBackend(const ServerConnection& server, const std::string& snapshot = {});

struct SqlScript {
  std::string name;  // for messages
  std::string sql;   // UTF-8, in SQLite's dialect as the bundled scripts are
};

// Creates the repository schema in the server's (empty) database and runs
// the scripts, all in one transaction that is rolled back on the first
// failure. PostgreSQL only; raises -2147217900 naming the failing script,
// and 58 when the schema's tables exist already.
void CreateServerRepository(const ServerConnection& server, const std::string& schemaSql,
                            const std::vector<SqlScript>& scripts);

}  // namespace tqlm
