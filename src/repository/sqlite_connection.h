// One read-only SQLite connection of a repository file: its statement
// cache and its one read transaction, which holds the snapshot it reads
// from its first read to its end.
#pragma once

#include <sqlite3.h>

#include <list>
#include <string>
#include <string_view>
#include <unordered_map>

#include "repository/recordset.h"

namespace tqlm {

// Raises -2147217900 with SQLite's message.
[[noreturn]] void RaiseSqlite(std::string_view utf8Message);

// A prepared statement with the names of its result's columns, read once.
struct PreparedStatement {
  sqlite3_stmt* statement = nullptr;
  ColumnNames names;
};

// Idle prepared statements, by a key that tells their texts apart (a
// statement's shape), least recently returned evicted first. A statement is
// taken out while a cursor uses it, so two cursors never share one.
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

  // No statement when there is none idle under `key`.
  PreparedStatement Take(const std::string& key) {
    auto found = index_.find(key);
    if (found == index_.end()) return {};
    auto entry = found->second;
    index_.erase(found);
    PreparedStatement prepared = std::move(entry->prepared);
    idle_.erase(entry);
    return prepared;
  }

  // The statement must be reset already.
  void Put(std::string key, PreparedStatement prepared) {
    idle_.push_front(Entry{std::move(key), std::move(prepared)});
    index_.emplace(idle_.front().key, idle_.begin());
    if (idle_.size() > kSize) EvictOldest();
  }

 private:
  // Enough for every statement text that a generation run repeats per field
  // or per table; more would only keep rarely used statements alive.
  static constexpr std::size_t kSize = 64;
  struct Entry {
    std::string key;
    PreparedStatement prepared;
  };
  using Iterator = std::list<Entry>::iterator;

  void EvictOldest() {
    auto oldest = std::prev(idle_.end());
    auto [first, last] = index_.equal_range(oldest->key);
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

// The open database with its statement cache. Cursors share it with the
// backend, so that a recordset still open when the repository disconnects
// keeps working and the database closes with the last of them. A connection
// serves one thread at a time, so it takes no lock of its own.
class SqliteConnection {
 public:
  // Opens the file read-only (as an immutable file: one that nothing
  // writes), reading nothing yet. Raises when it cannot be opened.
  SqliteConnection(const std::string& utf8Path, bool immutable);
  SqliteConnection(const SqliteConnection&) = delete;
  SqliteConnection& operator=(const SqliteConnection&) = delete;
  // Every cursor holds the connection, so no statement is in use any more.
  ~SqliteConnection();

  // Begins the connection's one read transaction and takes its snapshot by
  // a first read, waiting up to `busyMs` for a writer that holds the file;
  // SQLite's result code. A failed start leaves no transaction.
  int StartReading(int busyMs);
  // Ends the transaction, so that the next start reads anew.
  void StopReading();
  // How long a statement waits for a writer that holds the file.
  void WaitForWriters(int busyMs) { sqlite3_busy_timeout(db_, busyMs); }
  // What SQLite said of the last start that failed.
  const std::string& Failure() const { return failure_; }

  sqlite3* Db() const { return db_; }
  bool Immutable() const { return immutable_; }
  long Prepared() const { return prepared_; }

  // The idle statement kept under `key`, or else the text `text()` gives,
  // compiled (a statement's shape renders its text only when it compiles);
  // raises what SQLite says of a text it cannot prepare.
  template <class Text>
  PreparedStatement Prepare(const std::string& key, Text text) {
    if (PreparedStatement cached = cache_.Take(key); cached.statement != nullptr) return cached;
    return Compile(text());
  }
  // Keeps a statement idle under `key`.
  void Release(std::string key, PreparedStatement prepared);

 private:
  PreparedStatement Compile(const std::string& text);

  sqlite3* db_ = nullptr;
  bool immutable_;
  StatementCache cache_;
  long prepared_ = 0;
  std::string failure_;
};

}  // namespace tqlm
