#include "repository/sqlite_backend.h"

#include <sqlite3.h>

#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>
#include <utility>

#include "platform/codepage.h"
#include "platform/error.h"
#include "repository/sqlite_connection.h"

namespace tqlm {

namespace {

constexpr const char* kErrorSource = "Repository";
constexpr int kBusyTimeoutMs = 5000;

class SqliteCursor final : public Cursor {
 public:
  SqliteCursor(std::shared_ptr<SqliteConnection> connection, const Statement& statement)
      : connection_(std::move(connection)), key_(statement.ShapeKey()) {
    prepared_ = connection_->Prepare(key_, [&] { return statement.Shape(kSqliteDialect, Places::kQuestionMarks); });
    statement_ = prepared_.statement;
    const std::vector<BoundValue>& values = statement.Values();
    for (std::size_t i = 0; i < values.size(); ++i) Bind(static_cast<int>(i + 1), values[i]);
  }
  SqliteCursor(const SqliteCursor&) = delete;
  SqliteCursor& operator=(const SqliteCursor&) = delete;
  ~SqliteCursor() override { connection_->Release(std::move(key_), std::move(prepared_)); }

  const ColumnNames& Names() const override { return prepared_.names; }

  bool Next(std::vector<Value>& row) override {
    // Stepping a finished statement would run it again from the start.
    if (done_) return false;
    const int rc = sqlite3_step(statement_);
    if (rc == SQLITE_ROW) {
      ReadRow(row);
      return true;
    }
    done_ = true;
    if (rc != SQLITE_DONE) RaiseSqlite(sqlite3_errmsg(connection_->Db()));
    return false;
  }

 private:
  // A number as the number it holds; a text as UTF-8 (a number given as the
  // text a row held is converted by the column's affinity, as that text
  // written bare would be).
  void Bind(int place, const BoundValue& bound) {
    const Value& v = bound.value;
    if (v.IsNull()) {
      sqlite3_bind_null(statement_, place);
    } else if (const std::int64_t* whole = v.IfInteger()) {
      sqlite3_bind_int64(statement_, place, *whole);
    } else if (!v.IsText()) {
      sqlite3_bind_double(statement_, place, v.AsNumber());
    } else {
      const std::string utf8 = AnsiToUtf8(v.AsText());
      sqlite3_bind_text(statement_, place, utf8.data(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
    }
  }

  // Into the values of the row before, whose texts' room is reused.
  void ReadRow(std::vector<Value>& row) const {
    const int count = static_cast<int>(prepared_.names->size());
    row.resize(prepared_.names->size());
    for (int i = 0; i < count; ++i) ReadColumn(i, row[static_cast<std::size_t>(i)]);
  }

  void ReadColumn(int i, Value& into) const {
    switch (sqlite3_column_type(statement_, i)) {
      case SQLITE_INTEGER: into = Value::Integer(sqlite3_column_int64(statement_, i)); break;
      case SQLITE_FLOAT: into = Value::Real(sqlite3_column_double(statement_, i)); break;
      case SQLITE_TEXT: Utf8ToAnsi(ColumnBytes(i, sqlite3_column_text(statement_, i)), into.TextRoom()); break;
      case SQLITE_BLOB: into.TextRoom().assign(ColumnBytes(i, sqlite3_column_blob(statement_, i))); break;
      default: into = Value(); break;
    }
  }

  // The pointer must be fetched before the length, as SQLite documents.
  std::string_view ColumnBytes(int i, const void* data) const {
    const int size = sqlite3_column_bytes(statement_, i);
    if (data == nullptr || size <= 0) return {};
    return std::string_view(static_cast<const char*>(data), static_cast<std::size_t>(size));
  }

  std::shared_ptr<SqliteConnection> connection_;
  std::string key_;  // the statement's ShapeKey, under which the connection keeps it
  PreparedStatement prepared_;
  sqlite3_stmt* statement_ = nullptr;  // prepared_'s
  bool done_ = false;
};

class SqliteBackend final : public Backend {
 public:
  explicit SqliteBackend(std::shared_ptr<SqliteConnection> connection) : connection_(std::move(connection)) {}

  std::unique_ptr<Cursor> Execute(const Statement& statement) override {
    return std::make_unique<SqliteCursor>(connection_, statement);
  }
  long Prepared() const override { return connection_->Prepared(); }

 private:
  std::shared_ptr<SqliteConnection> connection_;
};

// A file that cannot be read as it stands: a repository in WAL mode without
// its -shm file, in a folder this process may not write.
bool NeedsImmutable(int rc) { return (rc & 0xff) == SQLITE_READONLY; }

// A count that changes whenever another connection commits to the file
// (PRAGMA data_version of a connection outside any transaction), or
// nothing when it cannot be read now.
std::optional<long long> DataVersion(sqlite3* db) {
  sqlite3_stmt* statement = nullptr;
  std::optional<long long> version;
  if (sqlite3_prepare_v2(db, "PRAGMA data_version", -1, &statement, nullptr) == SQLITE_OK &&
      sqlite3_step(statement) == SQLITE_ROW)
    version = sqlite3_column_int64(statement, 0);
  sqlite3_finalize(statement);
  return version;
}

// Connections that read one snapshot: each starts its read transaction,
// without waiting for a writer, between two readings of a probe's data
// version that agree, so that no commit came between the first start and
// the last. A writer that holds the file, or commits meanwhile, makes the
// connections let go and try again a little later; in rollback mode a
// writer then waits for the run's connections to end, in WAL mode it goes
// on. False when the attempts ran out.
bool StartTogether(const std::vector<std::shared_ptr<SqliteConnection>>& connections, sqlite3* probe) {
  constexpr int kAttempts = 200;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    if (attempt > 0) std::this_thread::sleep_for(std::chrono::milliseconds(std::min(attempt, 25)));
    const std::optional<long long> before = DataVersion(probe);
    if (!before) continue;
    std::size_t started = 0;
    while (started < connections.size() && connections[started]->StartReading(0) == SQLITE_OK) ++started;
    const std::optional<long long> after = started == connections.size() ? DataVersion(probe) : std::nullopt;
    if (after && *after == *before) {
      for (const auto& connection : connections) connection->WaitForWriters(kBusyTimeoutMs);
      return true;
    }
    for (std::size_t i = 0; i < started; ++i) connections[i]->StopReading();
  }
  return false;
}

std::shared_ptr<SqliteConnection> StartAlone(const std::string& path) {
  auto connection = std::make_shared<SqliteConnection>(path, false);
  int rc = connection->StartReading(kBusyTimeoutMs);
  if (NeedsImmutable(rc)) {
    connection = std::make_shared<SqliteConnection>(path, true);
    rc = connection->StartReading(kBusyTimeoutMs);
  }
  if (rc != SQLITE_OK) RaiseSqlite(connection->Failure());
  return connection;
}

}  // namespace

// A text compared with an indexed expression that carries a subquery's
// affinity (kPlainText) is joined to an empty text: the same text without an
// affinity, so that the comparison keeps to the expression's index (both
// sides are text, compared as before).
const Dialect kSqliteDialect{"||", " || ''"};

std::vector<std::unique_ptr<Backend>> OpenSqliteBackends(std::string_view utf8Path, int count) {
  if (utf8Path.empty()) Raise(kErrRepository, kErrorSource, "The connection string names no repository file.");
  const std::string path(utf8Path);
  // The first tells how the file can be read, and raises what keeps it from
  // being read at all.
  std::vector<std::shared_ptr<SqliteConnection>> connections{StartAlone(path)};
  if (count > 1 && connections[0]->Immutable()) {
    // No writer can be at work on such a file: its companions read the same.
    for (int i = 1; i < count; ++i) {
      connections.push_back(std::make_shared<SqliteConnection>(path, true));
      if (connections.back()->StartReading(kBusyTimeoutMs) != SQLITE_OK) connections.pop_back();
    }
  } else if (count > 1) {
    connections[0]->StopReading();
    for (int i = 1; i < count; ++i) connections.push_back(std::make_shared<SqliteConnection>(path, false));
    const SqliteConnection probe(path, false);
    if (!StartTogether(connections, probe.Db())) {
      // The file kept changing: the run reads alone, on one snapshot.
      connections.resize(1);
      if (connections[0]->StartReading(kBusyTimeoutMs) != SQLITE_OK) RaiseSqlite(connections[0]->Failure());
    }
  }
  std::vector<std::unique_ptr<Backend>> backends;
  for (auto& connection : connections) backends.push_back(std::make_unique<SqliteBackend>(std::move(connection)));
  return backends;
}

}  // namespace tqlm
