// A session with a database server through the unixODBC driver manager and
// the server's driver: its handles, its settings, values bound to
// statements and rows read back, and its failures as error lines.
#pragma once

#include <sql.h>
#include <sqlext.h>

#include <string>
#include <vector>

#include "repository/connection.h"
#include "repository/server_connection.h"
#include "repository/statement.h"
#include "repository/value.h"

namespace tqlm {

// How a result's column is read.
enum class OdbcColumn { kInteger, kReal, kDecimal, kBytes, kText };

struct OdbcRows {
  std::vector<std::string> names;
  std::vector<std::vector<Value>> rows;
};

// Values bound to the places of a statement handle, kept alive until it has
// run. Every value goes as text: the server gives each place the type its
// context asks for, as it would give a literal written there (on PostgreSQL
// a text compared with a blank-padded column is compared blank-padded, and
// stays on its index).
class OdbcParameters {
 public:
  // Binds the values in order to places 1, 2, ...; the handle's earlier
  // bindings are dropped.
  void Bind(SQLHSTMT handle, const std::vector<const BoundValue*>& values);

 private:
  std::vector<std::basic_string<SQLWCHAR>> texts_;
  std::vector<SQLLEN> lengths_;
};

class OdbcSession {
 public:
  // Connects; read-only: the session's transactions may not write and read
  // one snapshot (on PostgreSQL the one `options.snapshot` names, exported by
  // another session). The DBMS name the driver reports decides the dialect;
  // a server other than PostgreSQL and SQL Server is refused. Raises
  // -2147217900 with the driver's message, the password removed.
  OdbcSession(const ServerConnection& server, bool readOnly, const ConnectionOptions& options = {});
  OdbcSession(const OdbcSession&) = delete;
  OdbcSession& operator=(const OdbcSession&) = delete;
  ~OdbcSession();

  const std::string& Dbms() const { return dbms_; }
  bool IsPostgres() const { return dbms_ == "PostgreSQL"; }
  const Dialect& SessionDialect() const { return dialect_; }
  // The PostgreSQL driver runs with the tool's protocol options: no
  // savepoint of its own around each statement, values as parameters.
  bool Tuned() const { return tuned_; }
  // PostgreSQL read string literals standard-conforming (a backslash is a
  // character) from the session's start, so the driver, which scans a
  // statement's text for its places, finds each literal where the server
  // does.
  bool StandardLiterals() const { return standardLiterals_; }

  // The statement handle every statement of the session runs on in turn
  // (drivers that allow one open result per connection serve nested
  // recordsets too, since each result is read whole before the next runs).
  SQLHSTMT General();
  // A statement handle of its own, with the session's bound on each
  // statement; the caller frees it.
  SQLHSTMT NewHandle();

  // Runs a text of the tool's own (no values in it) and reads its rows, or
  // runs one whose rows are not wanted.
  void Run(const std::string& utf8, OdbcRows& out);
  void Execute(const std::string& utf8);
  // SQLExecDirect on a handle with the values already bound; false on
  // failure (the handle holds the diagnostics).
  bool TrySend(SQLHSTMT handle, const std::string& utf8);
  // SQLPrepare; false on failure, as TrySend.
  bool TryPrepare(SQLHSTMT handle, const std::string& utf8);

  // The columns of the result at hand, and its rows.
  void Describe(SQLHSTMT handle, std::vector<std::string>& names, std::vector<OdbcColumn>& columns);
  void Fetch(SQLHSTMT handle, const std::vector<OdbcColumn>& columns, std::vector<std::vector<Value>>& rows);

  void EndTransaction(SQLSMALLINT completion);
  // A failed statement ends its transaction (PostgreSQL refuses every
  // further statement of it); the next statement begins another.
  [[noreturn]] void FailStatement(SQLHSTMT handle);
  [[noreturn]] void Fail(SQLSMALLINT type, SQLHANDLE handle) const;
  [[noreturn]] void Fail(const std::string& utf8Message) const;

  // Ends the session's transaction without raising.
  void RollBack() noexcept;

 private:
  void Open(const ServerConnection& server, bool readOnly, const ConnectionOptions& options);
  void Connect(const std::string& odbc);
  void Disconnect();
  void Release() noexcept;
  std::string Info(SQLUSMALLINT type) const;
  Value Read(SQLHSTMT handle, SQLUSMALLINT column, OdbcColumn kind) const;
  bool ReadLong(SQLHSTMT handle, SQLUSMALLINT column, SQLSMALLINT cType, std::size_t unit, std::string& out) const;

  SQLHENV env_ = SQL_NULL_HENV;
  SQLHDBC dbc_ = SQL_NULL_HDBC;
  SQLHSTMT general_ = SQL_NULL_HSTMT;
  bool connected_ = false;
  std::string password_;
  std::string dbms_;
  Dialect dialect_;
  bool tuned_ = false;
  bool standardLiterals_ = false;
  int queryTimeout_ = 0;  // seconds, on the handle (servers without a session setting)
};

// Closes the result of a statement handle when it goes.
struct OdbcClosed {
  SQLHSTMT handle;
  ~OdbcClosed() { SQLFreeStmt(handle, SQL_CLOSE); }
};

}  // namespace tqlm
