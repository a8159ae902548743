#include "repository/odbc_backend.h"

#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "platform/codepage.h"
#include "platform/error.h"
#include "repository/odbc_session.h"

namespace tqlm {

namespace {

// All rows of one statement, read at once.
class OdbcCursor final : public Cursor {
 public:
  OdbcCursor(std::vector<std::string> names, std::vector<std::vector<Value>> rows)
      : names_(std::make_shared<const std::vector<std::string>>(std::move(names))), rows_(std::move(rows)) {}
  const ColumnNames& Names() const override { return names_; }
  bool Next(std::vector<Value>& row) override {
    if (next_ == rows_.size()) return false;
    row = std::move(rows_[next_++]);
    return true;
  }

 private:
  ColumnNames names_;
  std::vector<std::vector<Value>> rows_;
  std::size_t next_ = 0;
};

std::vector<const BoundValue*> ValuesOf(const Statement& statement) {
  std::vector<const BoundValue*> values;
  values.reserve(statement.Values().size());
  for (const BoundValue& value : statement.Values()) values.push_back(&value);
  return values;
}

// A value written into the text of an EXECUTE as a string literal:
// its text with its quotes doubled, which the server reads (standard-
// conforming) as that text alone and gives the type its place asks for, as
// it gives a value bound as text; Null as NULL. False for a text holding a
// NUL character, which no literal holds (`utf8` is then left part-written,
// for the caller to drop).
bool AppendLiteral(std::string& utf8, const Value& value) {
  if (value.IsNull()) {
    utf8 += "NULL";
    return true;
  }
  utf8 += '\'';
  for (const char ch : AnsiToUtf8(value.AsText())) {
    if (ch == '\0') return false;
    if (ch == '\'') utf8 += '\'';
    utf8 += ch;
  }
  utf8 += '\'';
  return true;
}

// A read-only session on a server. Every statement goes as its shape with
// its values bound, except on PostgreSQL where the session reads literals
// standard-conforming: there each statement is prepared on the server by
// name (PREPARE, from the shape alone, once per session) and executed with
// its values (EXECUTE, each value a literal with its quotes doubled, as the
// driver would write a value bound there, less the driver's work of
// binding and substituting), in its turn or, announced ahead of its turn,
// together with others in one exchange; rows read ahead wait for their
// turn, and the columns of a shape are described once.
class OdbcBackend final : public Backend {
 public:
  OdbcBackend(const ServerConnection& server, const ConnectionOptions& options) : session_(server, true, options) {}
  OdbcBackend(const OdbcBackend&) = delete;
  OdbcBackend& operator=(const OdbcBackend&) = delete;
  ~OdbcBackend() override {
    for (auto& [shape, turn] : inTurn_)
      if (turn.handle != SQL_NULL_HSTMT) SQLFreeHandle(SQL_HANDLE_STMT, turn.handle);
  }

  std::unique_ptr<Cursor> Execute(const Statement& statement) override {
    OdbcRows result;
    if (!prefetched_.empty()) {
      auto ahead = prefetched_.find(statement.Key());
      if (ahead != prefetched_.end()) {
        result = std::move(ahead->second);
        prefetched_.erase(ahead);
        ++answeredAhead_;
        return std::make_unique<OdbcCursor>(std::move(result.names), std::move(result.rows));
      }
    }
    try {
      if (!RunAlone(statement, result)) Query(statement, result);
    } catch (const Raised&) {
      prefetched_.clear();  // read in the transaction that ended
      throw;
    }
    return std::make_unique<OdbcCursor>(std::move(result.names), std::move(result.rows));
  }

  long Prepared() const override { return compiled_; }
  long AnsweredAhead() const override { return answeredAhead_; }

  std::string ExportSnapshot() override {
    if (!session_.IsPostgres()) return {};
    OdbcRows result;
    session_.Run("select pg_export_snapshot()", result);
    return result.rows.empty() ? std::string() : result.rows[0][0].AsText();
  }

  bool ReadsAhead() const override { return session_.IsPostgres() && session_.Tuned() && session_.StandardLiterals(); }

  void Prefetch(const std::vector<const Statement*>& statements) noexcept override {
    try {
      RunAhead(statements);
    } catch (const Raised&) {
      // the statements run in their turn, and meet the failure there
    }
  }

 private:
  // A shape prepared on the server by name.
  struct Named {
    std::string name;
    bool refused = false;  // the server could not prepare it
    bool described = false;
    std::vector<std::string> names;
    std::vector<OdbcColumn> columns;
  };
  // A shape that ran in its turn; prepared on a handle of its own when it
  // runs again.
  struct InTurn {
    SQLHSTMT handle = SQL_NULL_HSTMT;
    bool described = false;
    std::vector<std::string> names;
    std::vector<OdbcColumn> columns;
  };
  // Frees a handle when it goes.
  struct OdbcFreed {
    SQLHSTMT handle;
    ~OdbcFreed() { SQLFreeHandle(SQL_HANDLE_STMT, handle); }
  };
  // Shapes beyond these run in their turn; a run meets a few dozen.
  static constexpr std::size_t kMaxShapes = 256;
  // Results read ahead that may wait for their turn at once.
  static constexpr std::size_t kMaxWaiting = 256;

  // Runs a statement in its turn: its shape as the server speaks it, its
  // values bound (on PostgreSQL, parameters of the extended protocol, which
  // takes one statement at a time). A shape runs directly the first time;
  // once it has run, it is prepared on a handle of its own and its columns
  // are described once (a shape that fails thus fails as written, with the
  // driver's message for a statement that ran). Shapes beyond the bound
  // always run directly.
  void Query(const Statement& statement, OdbcRows& out) {
    auto found = inTurn_.find(statement.ShapeKey());
    if (found == inTurn_.end()) {
      const SQLHSTMT handle = session_.General();
      parameters_.Bind(handle, ValuesOf(statement));
      ++compiled_;
      if (!session_.TrySend(handle, statement.Shape(session_.SessionDialect(), Places::kQuestionMarks)))
        session_.FailStatement(handle);
      const OdbcClosed closed{handle};
      std::vector<OdbcColumn> columns;
      session_.Describe(handle, out.names, columns);
      session_.Fetch(handle, columns, out.rows);
      if (inTurn_.size() < kMaxShapes) inTurn_.emplace(statement.ShapeKey(), InTurn{});
      return;
    }
    InTurn& turn = found->second;
    if (turn.handle == SQL_NULL_HSTMT) Prepare(statement, turn);
    parameters_.Bind(turn.handle, ValuesOf(statement));
    const SQLRETURN rc = SQLExecute(turn.handle);
    if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA) session_.FailStatement(turn.handle);
    const OdbcClosed closed{turn.handle};
    if (!turn.described) {
      session_.Describe(turn.handle, turn.names, turn.columns);
      turn.described = true;
    }
    out.names = turn.names;
    session_.Fetch(turn.handle, turn.columns, out.rows);
  }

  void Prepare(const Statement& statement, InTurn& turn) {
    const SQLHSTMT handle = session_.NewHandle();
    ++compiled_;
    if (!session_.TryPrepare(handle, statement.Shape(session_.SessionDialect(), Places::kQuestionMarks))) {
      const OdbcFreed freed{handle};
      session_.FailStatement(handle);
    }
    turn.handle = handle;
  }

  // The named shape for an exchange ahead, prepared when first met; null
  // when the server refused it (a shape whose places it cannot type) or
  // there are too many.
  Named* NamedFor(const Statement& statement) {
    auto found = named_.find(statement.ShapeKey());
    if (found == named_.end()) {
      if (named_.size() >= kMaxShapes) return nullptr;
      found = named_.emplace(statement.ShapeKey(), Named{}).first;
      Named& named = found->second;
      const std::string name = "tqlm_" + std::to_string(named_.size());
      // A refusal must not end the transaction, whose snapshot the run reads.
      session_.Execute("SAVEPOINT tqlm_prepare");
      ++compiled_;
      const SQLHSTMT handle = session_.General();
      SQLFreeStmt(handle, SQL_RESET_PARAMS);
      const bool prepared = session_.TrySend(
          handle, "PREPARE " + name + " AS " + statement.Shape(session_.SessionDialect(), Places::kNumbered));
      SQLFreeStmt(handle, SQL_CLOSE);
      session_.Execute(prepared ? "RELEASE SAVEPOINT tqlm_prepare" : "ROLLBACK TO SAVEPOINT tqlm_prepare");
      if (prepared) named.name = name;
      else named.refused = true;
    }
    return found->second.refused ? nullptr : &found->second;
  }

  // "EXECUTE name('value', ...)": the statement as its named shape with its
  // values as literals. False for a value no literal holds.
  static bool AppendExecute(std::string& text, const Named& named, const Statement& statement) {
    text.append("EXECUTE ").append(named.name);
    const std::vector<BoundValue>& values = statement.Values();
    for (std::size_t i = 0; i < values.size(); ++i) {
      text += i == 0 ? "(" : ", ";
      if (!AppendLiteral(text, values[i].value)) return false;
    }
    if (!values.empty()) text += ')';
    return true;
  }

  // Reads the rows of a named shape's EXECUTE on `handle`, describing its
  // columns the first time.
  void FetchNamed(SQLHSTMT handle, Named& named, OdbcRows& out) {
    if (!named.described) {
      session_.Describe(handle, named.names, named.columns);
      named.described = true;
    }
    out.names = named.names;
    session_.Fetch(handle, named.columns, out.rows);
  }

  // On PostgreSQL a statement in its turn goes as those of an exchange
  // ahead go: its named shape executed with its values as literals, a
  // simple query of one round trip, where the extended protocol would bind,
  // describe and execute it in messages of their own (the server's work and
  // the driver's grow with each). It fails as any statement in its turn,
  // ending the transaction. False where it cannot go so (the server refused
  // the shape, a text holds a NUL): it then runs bound.
  bool RunAlone(const Statement& statement, OdbcRows& out) {
    if (!ReadsAhead()) return false;
    Named* named = NamedFor(statement);
    if (named == nullptr) return false;
    std::string text;
    if (!AppendExecute(text, *named, statement)) return false;
    const SQLHSTMT handle = session_.General();
    SQLFreeStmt(handle, SQL_RESET_PARAMS);
    if (!session_.TrySend(handle, text)) session_.FailStatement(handle);
    const OdbcClosed closed{handle};
    FetchNamed(handle, *named, out);
    return true;
  }

  // Runs statements ahead of their turn in one exchange, between a
  // savepoint and its release: a failure among them is undone to the
  // savepoint, so the transaction and its snapshot go on, and every
  // statement then runs in its turn instead. The rows wait for the
  // statement's turn, within the same transaction, also past later
  // exchanges (a run announces its searches some objects ahead); beyond a
  // bound they are forgotten and their statements run in turn.
  void RunAhead(const std::vector<const Statement*>& statements) {
    if (!ReadsAhead()) return;
    if (prefetched_.size() >= kMaxWaiting) prefetched_.clear();
    std::string batch = "SAVEPOINT tqlm_ahead";
    std::string member;
    std::vector<std::pair<const std::string*, Named*>> members;
    members.reserve(statements.size());
    std::unordered_set<std::string_view> listed;  // the statements' own keys
    for (const Statement* statement : statements) {
      const std::string& key = statement->Key();
      // Its first turn takes the rows.
      if (prefetched_.count(key) != 0 || !listed.insert(key).second) continue;
      Named* named = NamedFor(*statement);
      if (named == nullptr) continue;
      member.assign("; ");
      if (!AppendExecute(member, *named, *statement)) continue;  // runs in its turn, its values bound
      batch += member;
      members.emplace_back(&key, named);
    }
    if (members.empty()) return;
    batch += "; RELEASE SAVEPOINT tqlm_ahead";
    const SQLHSTMT handle = session_.General();
    SQLFreeStmt(handle, SQL_RESET_PARAMS);
    if (!session_.TrySend(handle, batch)) {
      SQLFreeStmt(handle, SQL_CLOSE);
      SQLFreeStmt(handle, SQL_RESET_PARAMS);
      // Where even that fails the transaction ends, as after any failure.
      if (!session_.TrySend(handle, "ROLLBACK TO SAVEPOINT tqlm_ahead")) session_.RollBack();
      SQLFreeStmt(handle, SQL_CLOSE);
      return;
    }
    const OdbcClosed closed{handle};
    for (auto& [key, named] : members) {  // the savepoint's result comes first
      if (!SQL_SUCCEEDED(SQLMoreResults(handle))) {
        prefetched_.clear();
        return;
      }
      OdbcRows result;
      FetchNamed(handle, *named, result);
      prefetched_.emplace(*key, std::move(result));
    }
  }

  OdbcSession session_;
  OdbcParameters parameters_;
  long compiled_ = 0;
  long answeredAhead_ = 0;
  // Both by the statement's ShapeKey.
  std::unordered_map<std::string, Named> named_;
  std::unordered_map<std::string, InTurn> inTurn_;
  // Rows of statements run ahead of their turn, by the statement's key,
  // each handed out once.
  std::unordered_map<std::string, OdbcRows> prefetched_;
};

}  // namespace

std::unique_ptr<Backend> OpenOdbcBackend(const ServerConnection& server, const ConnectionOptions& options) {
  return std::make_unique<OdbcBackend>(server, options);
}

}  // namespace tqlm
