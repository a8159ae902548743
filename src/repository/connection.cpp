#include "repository/connection.h"

#include <utility>

#include "platform/codepage.h"
#include "platform/error.h"
#include "repository/sqlite_backend.h"

namespace tqlm {

namespace {

constexpr const char* kErrorSource = "Repository";

bool StartsWithNoCase(std::string_view text, std::string_view lowerPrefix) {
  if (text.size() < lowerPrefix.size()) return false;
  for (std::size_t i = 0; i < lowerPrefix.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != lowerPrefix[i]) return false;
  }
  return true;
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

// True when a "key=value;..." connection string starts with `lowerKey`.
bool HasLeadingKey(std::string_view connectionString, std::string_view lowerKey) {
  std::string_view rest = connectionString;
  while (!rest.empty()) {
    const std::size_t end = rest.find(';');
    std::string_view part = TrimBlanks(rest.substr(0, end));
    if (StartsWithNoCase(part, lowerKey)) return true;
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  return false;
}

// The name of the backend a connection string asks for when it is not
// SQLite, or empty.
std::string_view ForeignBackendName(std::string_view connectionString) {
  if (StartsWithNoCase(connectionString, "odbc:")) return "ODBC";
  if (HasLeadingKey(connectionString, "provider=")) return "OLE DB";
  if (HasLeadingKey(connectionString, "dsn=") || HasLeadingKey(connectionString, "driver=")) return "ODBC";
  return {};
}

}  // namespace

// Rows kept by OpenRemembered, handed out again one at a time.
class Repository::RememberedCursor final : public Cursor {
 public:
  explicit RememberedCursor(std::shared_ptr<const Remembered> result) : result_(std::move(result)) {}
  const std::vector<std::string>& ColumnNames() const override { return result_->names; }
  bool Next(std::vector<Value>& row) override {
    if (next_ == result_->rows.size()) return false;
    row = result_->rows[next_++];
    return true;
  }

 private:
  std::shared_ptr<const Remembered> result_;
  std::size_t next_ = 0;
};

std::string RepositoryFile(std::string_view connectionString) {
  std::string_view text = TrimBlanks(connectionString);
  if (StartsWithNoCase(text, "sqlite:")) return std::string(text.substr(7));
  if (!ForeignBackendName(text).empty()) return {};
  return std::string(connectionString);
}

std::unique_ptr<Backend> OpenBackend(std::string_view connectionString) {
  if (std::string_view name = ForeignBackendName(TrimBlanks(connectionString)); !name.empty()) {
    Raise(kErrRepository, kErrorSource,
          "The " + std::string(name) + " backend is not available in this build; "
          "the connection string must name a SQLite repository file.");
  }
  return OpenSqliteBackend(AnsiToUtf8(RepositoryFile(connectionString)));
}

void Repository::SetConnectionString(std::string connectionString) {
  Disconnect();
  connectionString_ = std::move(connectionString);
  sent_ = 0;
  prepared_ = 0;
}

std::unique_ptr<Cursor> Repository::Send(std::string_view statement) {
  if (!backend_) backend_ = OpenBackend(connectionString_);
  ++sent_;
  return backend_->Execute(AnsiToUtf8(statement));
}

Recordset Repository::Open(std::string_view statement) {
  if (observer_) observer_(statement);
  return Recordset(Send(statement));
}

Recordset Repository::OpenRemembered(std::string_view statement) {
  if (observer_) observer_(statement);
  std::string key(statement);
  auto found = remembered_.find(key);
  if (found == remembered_.end()) {
    std::unique_ptr<Cursor> cursor = Send(statement);
    auto result = std::make_shared<Remembered>();
    result->names = cursor->ColumnNames();
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

void Repository::Disconnect() {
  if (backend_) prepared_ += backend_->Prepared();
  backend_.reset();
  Forget();  // the next connection reads a new snapshot
}

}  // namespace tqlm
