#include "repository/connection.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "platform/codepage.h"
#include "platform/error.h"
#include "platform/text.h"
#include "repository/odbc_backend.h"
#include "repository/server_connection.h"
#include "repository/sqlite_backend.h"

namespace tqlm {

// Rows kept by OpenRemembered, handed out again one at a time.
class Repository::RememberedCursor final : public Cursor {
 public:
  explicit RememberedCursor(std::shared_ptr<const Remembered> result) : result_(std::move(result)) {}
  const ColumnNames& Names() const override { return result_->names; }
  bool Next(std::vector<Value>& row) override {
    if (next_ == result_->rows.size()) return false;
    row = result_->rows[next_++];
    return true;
  }

 private:
  std::shared_ptr<const Remembered> result_;
  std::size_t next_ = 0;
};

namespace {

// The file of a connection string that names no server: a path, or
// "sqlite:" (any case) and a path.
std::string SqliteFile(std::string_view connectionString) {
  const std::string_view text = connectionString.substr(std::min(
      connectionString.find_first_not_of(" \t"), connectionString.size()));
  if (LCase(Left(text, 7)) == "sqlite:") return std::string(text.substr(7));
  return std::string(connectionString);
}

}  // namespace

std::string RepositoryFile(std::string_view connectionString) {
  try {
    if (ServerConnectionFor(connectionString)) return {};
  } catch (const Raised&) {
    return {};  // a server string that cannot be used: opening it says why
  }
  return SqliteFile(connectionString);
}

namespace {

// The backend and, for a SQLite file, `companions` more on its snapshot.
std::vector<std::unique_ptr<Backend>> OpenBackends(std::string_view connectionString,
                                                   const ConnectionOptions& options, int companions) {
  std::vector<std::unique_ptr<Backend>> backends;
  if (std::optional<ServerConnection> server = ServerConnectionFor(connectionString)) {
    backends.push_back(OpenOdbcBackend(*server, options));
    return backends;
  }
  return OpenSqliteBackends(AnsiToUtf8(SqliteFile(connectionString)), 1 + companions);
}

}  // namespace

std::unique_ptr<Backend> OpenBackend(std::string_view connectionString, const ConnectionOptions& options) {
  return std::move(OpenBackends(connectionString, options, 0).front());
}

void Repository::SetConnectionString(std::string connectionString) {
  Disconnect();
  connectionString_ = std::move(connectionString);
  sent_ = 0;
  failures_ = 0;
  prepared_ = 0;
  ahead_ = 0;
}

void Repository::Connect() {
  if (backend_) return;
  std::vector<std::unique_ptr<Backend>> backends =
      OpenBackends(connectionString_, options_, std::exchange(companionsWanted_, 0));
  backend_ = std::move(backends.front());
  companions_.assign(std::make_move_iterator(backends.begin() + 1), std::make_move_iterator(backends.end()));
}

std::unique_ptr<Backend> Companion::Open() {
  if (opened_) return std::move(opened_);
  return OpenBackend(connectionString_, options_);
}

std::vector<Companion> Repository::Companions(int count) {
  Connect();
  std::vector<Companion> taken;
  while (static_cast<int>(taken.size()) < count && !companions_.empty()) {
    taken.emplace_back(std::move(companions_.back()));
    companions_.pop_back();
  }
  if (static_cast<int>(taken.size()) == count) return taken;
  ConnectionOptions options = options_;
  try {
    options.snapshot = backend_->ExportSnapshot();
  } catch (const Raised&) {
    return taken;  // the server refused: the run reads alone
  }
  if (options.snapshot.empty()) return taken;
  while (static_cast<int>(taken.size()) < count) taken.emplace_back(connectionString_, options);
  return taken;
}

void Repository::Adopt(std::unique_ptr<Backend> backend) {
  Disconnect();
  backend_ = std::move(backend);
}

std::unique_ptr<Cursor> Repository::Send(const Statement& statement) {
  try {
    Connect();
    ++sent_;
    return backend_->Execute(statement);
  } catch (...) {
    ++failures_;
    throw;
  }
}

Recordset Repository::Open(const Statement& statement) {
  if (observer_) observer_(statement.Rendered());
  return Recordset(Send(statement));
}

void Repository::Prefetch(const std::vector<Statement>& statements) noexcept {
  if (!ReadsAhead()) return;
  try {
    std::vector<const Statement*> ahead;
    ahead.reserve(statements.size());
    for (const Statement& statement : statements) {
      if (remembered_.empty() || remembered_.count(statement.Key()) == 0) ahead.push_back(&statement);
    }
    backend_->Prefetch(ahead);
  } catch (...) {
    // a hint that could not be given changes nothing
  }
}

Recordset Repository::OpenRemembered(const Statement& statement) {
  if (observer_) observer_(statement.Rendered());
  const std::string& key = statement.Key();
  auto found = remembered_.find(key);
  if (found == remembered_.end()) {
    std::unique_ptr<Cursor> cursor = Send(statement);
    auto result = std::make_shared<Remembered>();
    result->names = cursor->Names();
    // What an entry holds, with a rough allowance for the containers'
    // own blocks (hash node, shared block, each row's vector).
    constexpr std::size_t kEntryOverhead = 160, kRowOverhead = 48;
    std::size_t bytes = kEntryOverhead + 2 * key.size() + sizeof(Remembered);
    for (std::vector<Value> row; cursor->Next(row);) {
      bytes += kRowOverhead;
      for (const Value& v : row) bytes += sizeof(Value) + (v.IsText() ? v.AsText().size() : 0);
      result->rows.push_back(std::move(row));
    }
    if (rememberedBytes_ + bytes > kRememberedBudget) Forget();
    rememberedBytes_ += bytes;
    found = remembered_.emplace(key, std::move(result)).first;
  }
  return Recordset(std::make_unique<RememberedCursor>(found->second));
}

void Repository::Forget() {
  remembered_.clear();
  rememberedBytes_ = 0;
}

void Repository::Disconnect() {
  if (backend_) {
    prepared_ += backend_->Prepared();
    ahead_ += backend_->AnsweredAhead();
  }
  backend_.reset();
  companions_.clear();
  Forget();  // the next connection reads a new snapshot
}

}  // namespace tqlm
