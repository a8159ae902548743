#include "repository/schema.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>

#include "platform/codepage.h"
#include "platform/error.h"
#include "repository/connection.h"
#include "repository/dialect.h"
#include "repository/odbc_session.h"
#include "repository/server_connection.h"

namespace tqlm {

namespace {

constexpr const char* kErrorSource = "Repository";

struct Script {
  std::string name;  // as the caller gave it, for messages
  std::string sql;   // UTF-8
};

// Paths arrive as Windows-1252 text like every other path of the component.
std::filesystem::path FsPath(const std::string& path) {
  return std::filesystem::path(AnsiToUtf8(path));
}

std::vector<Script> ReadScripts(const std::vector<std::string>& scriptFiles) {
  std::vector<Script> scripts;
  scripts.reserve(scriptFiles.size());
  for (const auto& file : scriptFiles) {
    std::ifstream in(FsPath(file), std::ios::binary);
    if (!in) Raise(kErrFileNotFound, kErrorSource, "File not found: " + file);
    std::ostringstream text;
    text << in.rdbuf();
    scripts.push_back(Script{file, std::move(text).str()});
  }
  return scripts;
}

// Runs a statement of its own; on failure returns SQLite's message.
std::string Exec(sqlite3* db, const char* sql) {
  if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK) return {};
  return Utf8ToAnsi(sqlite3_errmsg(db));
}

// The line (from 1) of a text at a byte offset.
std::size_t LineAt(const std::string& text, std::size_t offset) {
  return 1 + static_cast<std::size_t>(std::count(text.begin(), text.begin() + std::min(offset, text.size()), '\n'));
}

// Where a statement starts after the blanks and comments before it.
std::size_t StatementStart(const std::string& sql, std::size_t at) {
  while (at < sql.size()) {
    if (std::isspace(static_cast<unsigned char>(sql[at]))) {
      ++at;
    } else if (sql.compare(at, 2, "--") == 0) {
      at = sql.find('\n', at);
      if (at == std::string::npos) return sql.size();
    } else if (sql.compare(at, 2, "/*") == 0) {
      at = sql.find("*/", at + 2);
      if (at == std::string::npos) return sql.size();
      at += 2;
    } else {
      break;
    }
  }
  return at;
}

// Runs one script statement by statement; on failure returns the line of
// the failing statement (where SQLite names the place in it, that place's
// line) and SQLite's message (Windows-1252), else empty.
std::string RunScript(sqlite3* db, const std::string& sql) {
  const char* const begin = sql.c_str();
  const char* next = begin;
  while (*next != '\0') {
    sqlite3_stmt* statement = nullptr;
    const char* tail = nullptr;
    int rc = sqlite3_prepare_v2(db, next, -1, &statement, &tail);
    if (rc == SQLITE_OK && statement != nullptr) {
      while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
      }
      if (rc == SQLITE_DONE) rc = SQLITE_OK;
    }
    if (rc != SQLITE_OK) {
      // The line is counted only for a failure: a script of many statements
      // is run in one pass.
      std::size_t line = LineAt(sql, StatementStart(sql, static_cast<std::size_t>(next - begin)));
      if (const int offset = sqlite3_error_offset(db); offset >= 0)
        line = LineAt(sql, static_cast<std::size_t>(next - begin) + static_cast<std::size_t>(offset));
      std::string message = "line " + std::to_string(line) + ": " + Utf8ToAnsi(sqlite3_errmsg(db));
      sqlite3_finalize(statement);
      return message;
    }
    sqlite3_finalize(statement);
    if (tail == nullptr || tail == next) break;
    next = tail;
  }
  return {};
}

// Runs the schema and the scripts in one transaction; returns the failure
// text ("<script>: <message>") or empty.
std::string Populate(sqlite3* db, const std::vector<Script>& scripts) {
  if (auto message = Exec(db, "BEGIN"); !message.empty()) return message;
  if (auto message = RunScript(db, RepositorySchemaSql()); !message.empty()) {
    return "repository schema " + message;
  }
  for (const auto& script : scripts) {
    if (auto message = RunScript(db, script.sql); !message.empty()) {
      return script.name + " " + message;
    }
  }
  return Exec(db, "COMMIT");
}

void RemoveFiles(const std::filesystem::path& path) {
  std::error_code ignored;
  std::filesystem::remove(path, ignored);
  std::filesystem::remove(path.string() + "-journal", ignored);
}

// Rolls back, closes and deletes a repository that could not be completed,
// so that a failed creation leaves nothing behind.
void Discard(sqlite3* db, const std::filesystem::path& path) {
  sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  RemoveFiles(path);
}

// Statements without "order by" return rows in the order the server finds
// them. SQLite finds them in the order of the index it searches, rows of one
// key in the order they were loaded; a PostgreSQL table of a few rows is
// read from start to end. Storing every table in the order of its first
// index, rows of one key as loaded (an index scan, never a sort, which would
// not keep them), and giving the planner the tables' sizes makes the two
// return the same order for a freshly loaded repository.
void Settle(OdbcSession& session) {
  // The repository's own tables (qx, a module, a number), each by its first
  // index that covers every row.
  OdbcRows clusters;
  session.Run(
      "select distinct on (t.relname) format('CLUSTER %I USING %I', t.relname, i.relname) from pg_index x "
      "join pg_class i on i.oid = x.indexrelid join pg_class t on t.oid = x.indrelid "
      "join pg_namespace n on n.oid = t.relnamespace where n.nspname = current_schema() and x.indpred is null "
      "and t.relname ~ '^qx[a-z]{3}[0-9]{3}$' order by t.relname, i.oid",
      clusters);
  session.Execute("SET LOCAL enable_sort = off");
  for (const auto& row : clusters.rows) session.Execute(AnsiToUtf8(row[0].AsText()));
  session.Execute("ANALYZE");
}

// The schema in a server's empty database, then the scripts, in one
// transaction that is rolled back on the first failure. PostgreSQL only.
void CreateServerRepository(const ServerConnection& server, const std::vector<Script>& scripts) {
  OdbcSession session(server, false);
  if (!session.IsPostgres())
    session.Fail("The repository schema can be created on PostgreSQL only, not on \"" + session.Dbms() + "\".");
  // The schema's first table tells whether it is there already.
  OdbcRows found;
  session.Run("select count(*) from information_schema.tables where table_name = 'qxmap100' and "
              "table_schema = current_schema()",
              found);
  if (!found.rows.empty() && found.rows[0][0].AsNumber() != 0) Raise(kErrFileExists, kErrorSource);
  session.EndTransaction(SQL_COMMIT);
  std::string failing = "repository schema";
  try {
    session.Execute(SqliteScriptForPostgres(RepositorySchemaSql()));
    for (const Script& script : scripts) {
      failing = AnsiToUtf8(script.name);
      session.Execute(SqliteScriptForPostgres(script.sql));
    }
    failing = "repository schema";
    Settle(session);
    session.EndTransaction(SQL_COMMIT);
  } catch (const Raised& raised) {
    session.RollBack();  // the failure already reported is the one that counts
    Raise(kErrRepository, kErrorSource, Utf8ToAnsi(failing) + ": " + raised.error().description);
  }
}

}  // namespace

bool HoldsRepositoryTables(const std::string& connectionString) {
  Repository repository;
  repository.SetConnectionString(connectionString);
  try {
    const bool found =
        repository.Open("select name from sqlite_master where type = 'table' and name like 'qx%'").HasRow();
    repository.Disconnect();
    return found;
  } catch (const Raised&) {
    repository.Disconnect();
    return true;
  }
}

void CreateRepository(const std::string& connectionString, const std::vector<std::string>& scriptFiles) {
  if (std::optional<ServerConnection> server = ServerConnectionFor(connectionString)) {
    CreateServerRepository(*server, ReadScripts(scriptFiles));
    return;
  }
  const std::string path = RepositoryFile(connectionString);
  const std::filesystem::path fsPath = FsPath(path);
  std::error_code ec;
  if (std::filesystem::exists(std::filesystem::symlink_status(fsPath, ec))) {
    Raise(kErrFileExists, kErrorSource);
  }
  const std::vector<Script> scripts = ReadScripts(scriptFiles);

  sqlite3* db = nullptr;
  const int rc = sqlite3_open_v2(fsPath.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  if (rc != SQLITE_OK) {
    std::string message = Utf8ToAnsi(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
    sqlite3_close(db);
    RemoveFiles(fsPath);
    Raise(kErrRepository, kErrorSource, message);
  }
  if (std::string failure = Populate(db, scripts); !failure.empty()) {
    Discard(db, fsPath);
    Raise(kErrRepository, kErrorSource, failure);
  }
  sqlite3_close(db);
}

}  // namespace tqlm
