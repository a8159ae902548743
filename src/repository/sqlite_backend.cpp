#include "repository/sqlite_backend.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cstdio>

#include <list>
#include <unordered_map>
#include <utility>

#include "platform/codepage.h"
#include "platform/error.h"

namespace tqlm {

namespace {

constexpr const char* kErrorSource = "Repository";
constexpr int kBusyTimeoutMs = 5000;
// Enough for every statement text that a generation run repeats per field or
// per table; more would only keep rarely used statements alive.
constexpr std::size_t kStatementCacheSize = 64;

[[noreturn]] void RaiseRepository(std::string_view message) {
  Raise(kErrRepository, kErrorSource, Utf8ToAnsi(message));
}

// A prepared statement with the names of its result's columns, read once.
struct PreparedStatement {
  sqlite3_stmt* statement = nullptr;
  ColumnNames names;
};

// Idle prepared statements, keyed by their text, least recently returned
// evicted first. A statement is taken out while a cursor uses it, so two
// cursors never share one.
class StatementCache {
 public:
  StatementCache() = default;
  StatementCache(const StatementCache&) = delete;
  StatementCache& operator=(const StatementCache&) = delete;
  ~StatementCache() { Clear(); }

  void Clear() {
    for (auto& entry : idle_) sqlite3_finalize(entry.prepared.statement);
    index_.clear();
    idle_.clear();
  }

  // No statement when there is none idle under `text`.
  PreparedStatement Take(const std::string& text) {
    auto found = index_.find(text);
    if (found == index_.end()) return {};
    auto entry = found->second;
    index_.erase(found);
    PreparedStatement prepared = std::move(entry->prepared);
    idle_.erase(entry);
    return prepared;
  }

  // The statement must be reset already.
  void Put(std::string text, PreparedStatement prepared) {
    idle_.push_front(Entry{std::move(text), std::move(prepared)});
    index_.emplace(idle_.front().text, idle_.begin());
    if (idle_.size() > kStatementCacheSize) EvictOldest();
  }

 private:
  struct Entry {
    std::string text;
    PreparedStatement prepared;
  };
  using Iterator = std::list<Entry>::iterator;

  void EvictOldest() {
    auto oldest = std::prev(idle_.end());
    auto [first, last] = index_.equal_range(oldest->text);
    for (auto it = first; it != last; ++it) {
      if (it->second == oldest) {
        index_.erase(it);
        break;
      }
    }
    sqlite3_finalize(oldest->prepared.statement);
    idle_.erase(oldest);
  }

  std::list<Entry> idle_;
  // Keys view the texts held by the list nodes, which never move.
  std::unordered_multimap<std::string_view, Iterator> index_;
};

// A database in WAL mode (bytes 18 and 19 of its header are 2) whose log
// holds nothing is read as the immutable file it then is: a reader of a WAL
// database would otherwise create its -shm and -wal files beside it. With a
// log present (a writer at work, or one that stopped) SQLite must read the
// log, and creates those files as it needs them.
bool QuietWalFile(const std::string& utf8Path) {
  std::FILE* file = std::fopen(utf8Path.c_str(), "rb");
  if (file == nullptr) return false;
  unsigned char header[20] = {};
  const bool read = std::fread(header, 1, sizeof header, file) == sizeof header;
  std::fclose(file);
  if (!read || header[18] != 2 || header[19] != 2) return false;
  struct stat log {};
  return ::stat((utf8Path + "-wal").c_str(), &log) != 0 || log.st_size == 0;
}

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

// The open database with its statement cache. Cursors share it with the
// backend, so that a recordset still open when the repository disconnects
// keeps working and the database closes with the last of them. A connection
// serves one thread at a time, so it takes no lock of its own.
class SqliteConnection {
 public:
  explicit SqliteConnection(const std::string& utf8Path) {
    QuietMemoryStatistics();
    constexpr int kFlags = SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX;
    int rc = QuietWalFile(utf8Path)
                 ? sqlite3_open_v2(FileUri(utf8Path, "immutable=1").c_str(), &db_, kFlags | SQLITE_OPEN_URI, nullptr)
                 : sqlite3_open_v2(utf8Path.c_str(), &db_, kFlags, nullptr);
    if (rc != SQLITE_OK) {
      std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
      sqlite3_close(db_);
      db_ = nullptr;
      RaiseRepository(message);
    }
    sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    // One read transaction for the connection's life: a run sees one
    // snapshot of the repository, whatever another program writes meanwhile.
    if (sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK) {
      std::string message = sqlite3_errmsg(db_);
      sqlite3_close(db_);
      db_ = nullptr;
      RaiseRepository(message);
    }
    // No statement may attach (and so create) another database file.
    sqlite3_limit(db_, SQLITE_LIMIT_ATTACHED, 0);
  }
  SqliteConnection(const SqliteConnection&) = delete;
  SqliteConnection& operator=(const SqliteConnection&) = delete;
  // Every cursor holds the connection, so no statement is in use any more.
  ~SqliteConnection() {
    cache_.Clear();
    sqlite3_close(db_);
  }

  sqlite3* Db() const { return db_; }
  long Prepared() const { return prepared_; }

  // No statement when SQLite refuses the text.
  PreparedStatement TryPrepare(const std::string& text) {
    if (PreparedStatement cached = cache_.Take(text); cached.statement != nullptr) return cached;
    PreparedStatement prepared;
    ++prepared_;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(db_, text.data(), static_cast<int>(text.size()), &prepared.statement, &tail) != SQLITE_OK) {
      sqlite3_finalize(prepared.statement);
      return {};
    }
    if (prepared.statement == nullptr) return {};  // a text without a statement
    // SQLite compiles the first statement of a text and leaves the rest.
    if (std::string_view(tail, text.data() + text.size() - tail).find_first_not_of(" \t\r\n;") !=
        std::string_view::npos) {
      sqlite3_finalize(prepared.statement);
      RaiseRepository("A statement may not hold a second statement.");
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

  PreparedStatement Prepare(const std::string& text) {
    PreparedStatement prepared = TryPrepare(text);
    if (prepared.statement != nullptr) return prepared;
    // An empty statement prepares to nothing without an error.
    RaiseRepository(sqlite3_errcode(db_) == SQLITE_OK ? "The statement is empty." : sqlite3_errmsg(db_));
  }

  void Release(std::string text, PreparedStatement prepared) {
    sqlite3_reset(prepared.statement);
    sqlite3_clear_bindings(prepared.statement);
    cache_.Put(std::move(text), std::move(prepared));
  }

 private:
  sqlite3* db_ = nullptr;
  StatementCache cache_;
  long prepared_ = 0;
};

class SqliteCursor final : public Cursor {
 public:
  SqliteCursor(std::shared_ptr<SqliteConnection> connection, const Statement& statement)
      : connection_(std::move(connection)), text_(statement.Shape(kSqliteDialect, Places::kQuestionMarks)) {
    prepared_ = connection_->Prepare(text_);
    statement_ = prepared_.statement;
    const std::vector<BoundValue>& values = statement.Values();
    for (std::size_t i = 0; i < values.size(); ++i) Bind(static_cast<int>(i + 1), values[i]);
  }
  SqliteCursor(const SqliteCursor&) = delete;
  SqliteCursor& operator=(const SqliteCursor&) = delete;
  ~SqliteCursor() override { connection_->Release(std::move(text_), std::move(prepared_)); }

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
    if (rc != SQLITE_DONE) RaiseRepository(sqlite3_errmsg(connection_->Db()));
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

  void ReadRow(std::vector<Value>& row) const {
    const int count = static_cast<int>(prepared_.names->size());
    row.resize(prepared_.names->size());
    for (int i = 0; i < count; ++i) row[static_cast<std::size_t>(i)] = ReadColumn(i);
  }

  Value ReadColumn(int i) const {
    switch (sqlite3_column_type(statement_, i)) {
      case SQLITE_INTEGER: return Value::Integer(sqlite3_column_int64(statement_, i));
      case SQLITE_FLOAT: return Value::Real(sqlite3_column_double(statement_, i));
      case SQLITE_TEXT: return Value::Text(Utf8ToAnsi(ColumnBytes(i, sqlite3_column_text(statement_, i))));
      case SQLITE_BLOB: return Value::Text(std::string(ColumnBytes(i, sqlite3_column_blob(statement_, i))));
      default: return Value();
    }
  }

  // The pointer must be fetched before the length, as SQLite documents.
  std::string_view ColumnBytes(int i, const void* data) const {
    const int size = sqlite3_column_bytes(statement_, i);
    if (data == nullptr || size <= 0) return {};
    return std::string_view(static_cast<const char*>(data), static_cast<std::size_t>(size));
  }

  std::shared_ptr<SqliteConnection> connection_;
  std::string text_;
  PreparedStatement prepared_;
  sqlite3_stmt* statement_ = nullptr;  // prepared_'s
  bool done_ = false;
};

class SqliteBackend final : public Backend {
 public:
  explicit SqliteBackend(const std::string& utf8Path)
      : connection_(std::make_shared<SqliteConnection>(utf8Path)) {}

  std::unique_ptr<Cursor> Execute(const Statement& statement) override {
    return std::make_unique<SqliteCursor>(connection_, statement);
  }
  long Prepared() const override { return connection_->Prepared(); }

 private:
  std::shared_ptr<SqliteConnection> connection_;
};

}  // namespace

// A text compared with an indexed expression that carries a subquery's
// affinity (kPlainText) is joined to an empty text: the same text without an
// affinity, so that the comparison keeps to the expression's index (both
// sides are text, compared as before).
const Dialect kSqliteDialect{"||", " || ''"};

std::unique_ptr<Backend> OpenSqliteBackend(std::string_view utf8Path) {
  if (utf8Path.empty()) Raise(kErrRepository, kErrorSource, "The connection string names no repository file.");
  return std::make_unique<SqliteBackend>(std::string(utf8Path));
}

}  // namespace tqlm
