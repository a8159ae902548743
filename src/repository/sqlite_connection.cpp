#include "repository/sqlite_connection.h"

#include <cstdio>
#include <utility>

#include "platform/codepage.h"
#include "platform/error.h"

namespace tqlm {

namespace {

// A file: URI of a path, with the characters a URI gives a meaning escaped.
std::string FileUri(const std::string& utf8Path, const char* parameters) {
  std::string uri = "file:";
  for (char ch : utf8Path) {
    if (ch == '%' || ch == '?' || ch == '#') {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(ch));
      uri += escaped;
    } else {
      uri += ch;
    }
  }
  return uri + "?" + parameters;
}

// Workers read their own connections at once: SQLite's count of the memory
// it holds would take one lock shared by all of them at every allocation.
// Said before the library starts; where a host started it already, its
// settings stand.
void QuietMemoryStatistics() {
  static const int configured = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
  static_cast<void>(configured);
}

}  // namespace

void RaiseSqlite(std::string_view utf8Message) { Raise(kErrRepository, "Repository", Utf8ToAnsi(utf8Message)); }

SqliteConnection::SqliteConnection(const std::string& utf8Path, bool immutable) : immutable_(immutable) {
  QuietMemoryStatistics();
  constexpr int kFlags = SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX;
  const int rc = immutable
                     ? sqlite3_open_v2(FileUri(utf8Path, "immutable=1").c_str(), &db_, kFlags | SQLITE_OPEN_URI, nullptr)
                     : sqlite3_open_v2(utf8Path.c_str(), &db_, kFlags, nullptr);
  if (rc != SQLITE_OK) {
    std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
    sqlite3_close(db_);
    db_ = nullptr;
    RaiseSqlite(message);
  }
  // No statement may attach (and so create) another database file.
  sqlite3_limit(db_, SQLITE_LIMIT_ATTACHED, 0);
}

SqliteConnection::~SqliteConnection() {
  cache_.Clear();
  sqlite3_close(db_);
}

int SqliteConnection::StartReading(int busyMs) {
  WaitForWriters(busyMs);
  int rc = sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr);
  // A deferred transaction takes its snapshot (its shared lock, or its
  // place in the write-ahead log) with its first read.
  if (rc == SQLITE_OK) rc = sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
  failure_ = rc == SQLITE_OK ? std::string() : sqlite3_errmsg(db_);
  if (rc != SQLITE_OK) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
  return rc;
}

void SqliteConnection::StopReading() {
  sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

PreparedStatement SqliteConnection::Compile(const std::string& text) {
  PreparedStatement prepared;
  ++prepared_;
  const char* tail = nullptr;
  if (sqlite3_prepare_v2(db_, text.data(), static_cast<int>(text.size()), &prepared.statement, &tail) != SQLITE_OK) {
    sqlite3_finalize(prepared.statement);
    RaiseSqlite(sqlite3_errmsg(db_));
  }
  // An empty text prepares to nothing without an error.
  if (prepared.statement == nullptr) RaiseSqlite("The statement is empty.");
  // SQLite compiles the first statement of a text and leaves the rest.
  if (std::string_view(tail, text.data() + text.size() - tail).find_first_not_of(" \t\r\n;") !=
      std::string_view::npos) {
    sqlite3_finalize(prepared.statement);
    RaiseSqlite("A statement may not hold a second statement.");
  }
  try {
    auto names = std::make_shared<std::vector<std::string>>();
    const int count = sqlite3_column_count(prepared.statement);
    names->reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
      const char* name = sqlite3_column_name(prepared.statement, i);
      names->push_back(Utf8ToAnsi(name ? name : ""));
    }
    prepared.names = std::move(names);
  } catch (...) {
    sqlite3_finalize(prepared.statement);  // not left open for the connection to close
    throw;
  }
  return prepared;
}

void SqliteConnection::Release(std::string key, PreparedStatement prepared) {
  sqlite3_reset(prepared.statement);
  sqlite3_clear_bindings(prepared.statement);
  cache_.Put(std::move(key), std::move(prepared));
}

}  // namespace tqlm
