#include "repository/connection.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "platform/codepage.h"
#include "platform/error.h"
#include "platform/text.h"
#include "repository/dialect.h"
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

std::unique_ptr<Backend> OpenBackend(std::string_view connectionString, const std::string& snapshot) {
  if (std::optional<ServerConnection> server = ServerConnectionFor(connectionString))
    return OpenOdbcBackend(*server, snapshot);
  return OpenSqliteBackend(AnsiToUtf8(SqliteFile(connectionString)));
}

void Repository::SetConnectionString(std::string connectionString) {
  Disconnect();
  connectionString_ = std::move(connectionString);
  sent_ = 0;
  failures_ = 0;
  prepared_ = 0;
}

void Repository::Connect() {
  if (!backend_) backend_ = OpenBackend(connectionString_, snapshot_);
}

std::unique_ptr<Cursor> Repository::Send(std::string_view statement) {
  try {
    Connect();
    ++sent_;
    // No statement the component builds holds a second one: it could only
    // come from a value that broke out of its quotes.
    if (HoldsSecondStatement(statement))
      Raise(kErrRepository, "Repository", "A statement may not hold a second statement.");
    return backend_->Execute(AnsiToUtf8(statement));
  } catch (...) {
    ++failures_;
    throw;
  }
}

Recordset Repository::Open(std::string_view statement) {
  if (observer_) observer_(statement);
  return Recordset(Send(statement));
}

void Repository::Prefetch(const std::vector<std::string>& statements) noexcept {
  if (!ReadsAhead()) return;
  try {
    std::vector<std::string> texts;
    texts.reserve(statements.size());
    for (const std::string& statement : statements) {
      if (remembered_.count(statement) == 0) texts.push_back(AnsiToUtf8(statement));
    }
    backend_->Prefetch(texts);
  } catch (...) {
    // a hint that could not be given changes nothing
  }
}

Recordset Repository::OpenRemembered(std::string_view statement) {
  if (observer_) observer_(statement);
  auto found = remembered_.find(statement);
  if (found == remembered_.end()) {
    std::string key(statement);
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
    found = remembered_.emplace(std::move(key), std::move(result)).first;
  }
  return Recordset(std::make_unique<RememberedCursor>(found->second));
}

void Repository::Forget() {
  remembered_.clear();
  rememberedBytes_ = 0;
}

std::string Repository::ExportSnapshot() {
  Connect();
  try {
    return backend_->ExportSnapshot();
  } catch (const Raised&) {
    return {};
  }
}

void Repository::Disconnect() {
  if (backend_) prepared_ += backend_->Prepared();
  backend_.reset();
  Forget();  // the next connection reads a new snapshot
}

}  // namespace tqlm
