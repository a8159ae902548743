// Connection strings that name a database server: ODBC strings, and the ADO
// strings of the original's clients translated to ODBC.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include <tqlm/repository.h>

namespace tqlm {

struct ServerConnection {
  std::string odbc;      // the ODBC connection string (UTF-8)
  std::string password;  // the password it carries, kept out of every message
};

// The server a connection string names, or nothing for a SQLite file:
// - "odbc:" followed by an ODBC connection string, or an ODBC string that
//   starts with DSN= or Driver= (as the original's clients could give);
// - an ADO string with Provider=SQLOLEDB, SQLNCLI or MSOLEDBSQL, whose
//   keywords are translated for the SQL Server driver (FreeTDS), or
//   Provider=MSDASQL, whose other keywords are ODBC's already.
// Raises -2147217900 for what cannot be translated (Windows authentication,
// another provider, an unknown keyword), naming it, never the password.
std::optional<ServerConnection> ServerConnectionFor(std::string_view connectionString);

// The value of the first `keyword` (any case) of an ODBC connection string,
// or nothing.
std::optional<std::string> OdbcKeyword(std::string_view odbc, std::string_view keyword);


// `text` with every occurrence of `password` replaced by "****".
std::string WithoutPassword(std::string text, std::string_view password);

}  // namespace tqlm
