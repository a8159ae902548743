#include "repository/schema.h"

#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>

#include "platform/codepage.h"
#include "platform/error.h"
#include "repository/connection.h"
#include "repository/odbc_backend.h"
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

// Runs one script; on failure returns SQLite's message (Windows-1252), else
// empty.
std::string RunScript(sqlite3* db, const std::string& sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) == SQLITE_OK) return {};
  std::string message = Utf8ToAnsi(error ? error : sqlite3_errmsg(db));
  sqlite3_free(error);
  return message;
}

// Runs the schema and the scripts in one transaction; returns the failure
// text ("<script>: <message>") or empty.
std::string Populate(sqlite3* db, const std::vector<Script>& scripts) {
  if (auto message = RunScript(db, "BEGIN"); !message.empty()) return message;
  if (auto message = RunScript(db, RepositorySchemaSql()); !message.empty()) {
    return "repository schema: " + message;
  }
  for (const auto& script : scripts) {
    if (auto message = RunScript(db, script.sql); !message.empty()) {
      return script.name + ": " + message;
    }
  }
  return RunScript(db, "COMMIT");
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

}  // namespace

void CreateRepository(const std::string& connectionString, const std::vector<std::string>& scriptFiles) {
  if (std::optional<ServerConnection> server = ServerConnectionFor(connectionString)) {
    std::vector<SqlScript> scripts;
    for (Script& script : ReadScripts(scriptFiles))
      scripts.push_back(SqlScript{AnsiToUtf8(script.name), std::move(script.sql)});
    CreateServerRepository(*server, RepositorySchemaSql(), scripts);
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
