#include "repository/odbc_backend.h"

#include <sql.h>
#include <sqlext.h>
#include <sqlucode.h>
#include <odbcinst.h>

#include <charconv>
#include <cstdint>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "platform/codepage.h"
#include "platform/error.h"
#include "repository/dialect.h"

namespace tqlm {

namespace {

constexpr const char* kErrorSource = "Repository";

// ODBC's wide characters are UTF-16 code units with unixODBC.
static_assert(sizeof(SQLWCHAR) == sizeof(char16_t));
using WideText = std::basic_string<SQLWCHAR>;

WideText Utf16(std::string_view utf8) {
  const std::u16string wide = Utf8ToUtf16(utf8);
  return WideText(wide.begin(), wide.end());
}

std::string Utf8(const SQLWCHAR* text, std::size_t units) {
  return Utf16ToUtf8(std::u16string(text, text + units));
}

bool Succeeded(SQLRETURN rc) { return rc == SQL_SUCCESS || rc == SQL_SUCCESS_WITH_INFO; }

// The driver's messages for a handle, one after the other.
std::string Diagnostics(SQLSMALLINT type, SQLHANDLE handle) {
  std::string text;
  SQLWCHAR state[6], message[1024];
  SQLINTEGER native = 0;
  SQLSMALLINT length = 0;
  for (SQLSMALLINT record = 1; Succeeded(SQLGetDiagRecW(type, handle, record, state, &native, message,
                                                        SQLSMALLINT(sizeof message / sizeof *message), &length));
       ++record) {
    std::string line = Utf8(message, std::min<std::size_t>(length, sizeof message / sizeof *message - 1));
    // One line without tabs, as every error line is.
    std::string flat;
    for (char c : line) {
      const bool blank = c == '\n' || c == '\r' || c == '\t';
      if (!blank) flat += c;
      else if (!flat.empty() && flat.back() != ' ') flat += ' ';
    }
    line = std::move(flat);
    while (!line.empty() && line.back() == ' ') line.pop_back();
    if (line.empty()) continue;
    if (!text.empty()) text += ' ';
    text += line;
  }
  return text.empty() ? "The ODBC driver reported a failure without a message." : text;
}

enum class Dialect { kBars, kPlus };

// A value of the driver manager's registry (odbc.ini or odbcinst.ini).
std::string Registered(const std::string& section, const char* key, const char* file) {
  char value[512] = {};
  SQLGetPrivateProfileString(section.c_str(), key, "", value, sizeof value, file);
  return value;
}

// The driver library a connection string names through its Driver or DSN
// keyword, as the driver manager has it registered, or empty.
std::string RegisteredDriver(const std::string& odbc) {
  std::string driver = OdbcKeyword(odbc, "driver").value_or("");
  if (driver.empty()) {
    const std::string dsn = OdbcKeyword(odbc, "dsn").value_or("");
    if (dsn.empty()) return {};
    driver = Registered(dsn, "Driver", "ODBC.INI");
  }
  if (driver.find('/') != std::string::npos) return driver;
  return Registered(driver, "Driver", "ODBCINST.INI");
}

// The PostgreSQL driver's libraries are psqlodbca.so and psqlodbcw.so.
bool IsPostgresDriver(const std::string& library) {
  const std::size_t slash = library.rfind('/');
  return library.compare(slash == std::string::npos ? 0 : slash + 1, 8, "psqlodbc") == 0;
}

// Drivers may change the process's locale while a session opens or closes
// (the PostgreSQL driver does), which is not safe from two threads at once:
// sessions open and close one at a time.
std::mutex& SessionMutex() {
  static std::mutex mutex;
  return mutex;
}

// The session: environment and connection handles, the server's dialect and
// the one statement handle that every statement runs on in turn. Statements
// go as text (SQLExecDirect): a driver's own prepare costs a round trip per
// statement, while a shape that repeats is prepared once by name on
// PostgreSQL (Query).
class OdbcConnection {
 public:
  OdbcConnection(const ServerConnection& server, bool readOnly, const std::string& snapshot = {})
      : password_(server.password) {
    try {
      Open(server, readOnly, snapshot);
    } catch (...) {
      Release();  // a session that failed to open leaves nothing open
      throw;
    }
  }
  OdbcConnection(const OdbcConnection&) = delete;
  OdbcConnection& operator=(const OdbcConnection&) = delete;
  ~OdbcConnection() { Release(); }

  void Open(const ServerConnection& server, bool readOnly, const std::string& snapshot) {
    if (!Succeeded(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_)))
      Fail("The ODBC driver manager could not be started.");
    SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    if (!Succeeded(SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_))) Fail(SQL_HANDLE_ENV, env_);
    if (readOnly)
      SQLSetConnectAttrW(dbc_, SQL_ATTR_ACCESS_MODE, reinterpret_cast<SQLPOINTER>(SQL_MODE_READ_ONLY), 0);
    // The PostgreSQL driver by default guards every statement with a
    // savepoint and prepares it on the server: three round trips where one
    // does. Without them a failed statement leaves its transaction for the
    // session to end: FailStatement rolls it back, and a shape the server
    // cannot prepare is rolled back to a savepoint of its own (Prepare).
    // Said by keywords only read at connection time, unless the connection
    // string chose otherwise: added at once when the driver manager's
    // registry names that driver for the string, else the session is opened
    // again with them.
    const bool tuned = OdbcKeyword(server.odbc, "protocol") || OdbcKeyword(server.odbc, "useserversideprepare");
    const std::string kPostgresOptions = ";Protocol=7.4-0;UseServerSidePrepare=0";
    bool withOptions = !tuned && IsPostgresDriver(RegisteredDriver(server.odbc));
    Connect(withOptions ? server.odbc + kPostgresOptions : server.odbc);
    if (!tuned && !withOptions && IsPostgresDriver(Info(SQL_DRIVER_NAME))) {
      Disconnect();
      Connect(server.odbc + kPostgresOptions);
      withOptions = true;
    }
    dbms_ = Info(SQL_DBMS_NAME);
    if (dbms_ == "PostgreSQL" || dbms_ == "SQLite") {
      dialect_ = Dialect::kBars;
    } else if (dbms_ == "Microsoft SQL Server") {
      dialect_ = Dialect::kPlus;
    } else {
      Fail("The repository server \"" + dbms_ +
           "\" is not supported; PostgreSQL and Microsoft SQL Server are.");
    }
    if (!Succeeded(SQLSetConnectAttrW(dbc_, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0)))
      Fail(SQL_HANDLE_DBC, dbc_);
    // Every transaction of the session reads one snapshot and may not
    // write; the setting takes effect with the next transaction.
    if (readOnly && dbms_ == "PostgreSQL") {
      // Literals as the statements are built and checked: a backslash is
      // a character, never an escape that could move a literal's end.
      Execute("SET standard_conforming_strings = on");
      Execute("SET SESSION CHARACTERISTICS AS TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY");
      EndTransaction(SQL_COMMIT);
      prepares_ = withOptions;
      // The first statement of the transaction that follows.
      if (!snapshot.empty()) Execute("SET TRANSACTION SNAPSHOT '" + snapshot + "'");
    }
  }

  void Release() noexcept {
    if (statement_ != SQL_NULL_HSTMT) SQLFreeHandle(SQL_HANDLE_STMT, statement_);
    statement_ = SQL_NULL_HSTMT;
    if (connected_) {
      SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_ROLLBACK);
      Disconnect();
    }
    if (dbc_ != SQL_NULL_HDBC) SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
    if (env_ != SQL_NULL_HENV) SQLFreeHandle(SQL_HANDLE_ENV, env_);
    dbc_ = SQL_NULL_HDBC;
    env_ = SQL_NULL_HENV;
  }

  const std::string& Dbms() const { return dbms_; }

  // The name of the snapshot the session's transaction reads (PostgreSQL).
  std::string ExportSnapshot() {
    if (dbms_ != "PostgreSQL") return {};
    std::vector<std::string> names;
    std::vector<std::vector<Value>> rows;
    Run("select pg_export_snapshot()", names, rows);
    return rows.empty() ? std::string() : rows[0][0].AsText();
  }
  long Compiled() const { return compiled_; }
  // Statements are read ahead where shapes are prepared (PostgreSQL).
  bool ReadsAhead() const { return prepares_; }

  // The statement as the server speaks it.
  std::string InDialect(std::string_view statement) const {
    return dialect_ == Dialect::kBars ? JoinTextWithBars(statement) : std::string(statement);
  }

  // Runs a statement in the original server's dialect and reads all its
  // rows. On PostgreSQL a statement shape met a second time is prepared on
  // the server (its values as parameters, typed as the literals they stand
  // for would be) and then run by name with its values: the server parses
  // and plans a shape once, and its columns are described once.
  void Query(const std::string& statement, std::vector<std::string>& names, std::vector<std::vector<Value>>& rows) {
    if (!prefetched_.empty()) {
      auto ahead = prefetched_.find(statement);
      if (ahead != prefetched_.end()) {
        names = std::move(ahead->second.names);
        rows = std::move(ahead->second.rows);
        prefetched_.erase(ahead);
        return;
      }
    }
    if (!prepares_) return Run(InDialect(statement), names, rows);
    StatementTemplate t = MakeTemplate(statement, Placeholders::kNumbered);
    if (!t.templated) return Run(t.text, names, rows);
    Shape* shape = Sighted(t.text);
    if (shape == nullptr) return Run(JoinTextWithBars(statement), names, rows);
    const SQLHSTMT handle = Send(ByName(*shape, t.values));
    const Closed closed{handle};
    ReadResult(handle, shape, names, rows);
  }

  // Runs statements ahead of their turn in one exchange (PostgreSQL), each
  // as Query would send it, between a savepoint and its release: a failure
  // among them is undone to the savepoint, so the transaction and its
  // snapshot go on, and every statement then runs in its turn instead. The
  // rows wait for the statement's turn, within the same transaction, also
  // past later exchanges (a run announces its searches some objects ahead);
  // beyond a bound they are forgotten and their statements run in turn.
  void Prefetch(const std::vector<std::string>& statements) {
    if (!ReadsAhead()) return;
    if (prefetched_.size() >= kMaxWaiting) prefetched_.clear();
    std::string batch = "SAVEPOINT tqlm_ahead";
    std::vector<std::pair<const std::string*, Shape*>> members;
    std::unordered_set<std::string_view> listed;
    for (const std::string& statement : statements) {
      // The driver finds where statements end by its own reading of the
      // text, which may take a backslash for an escape.
      if (HoldsSecondStatement(statement) || statement.find('\\') != std::string::npos) continue;
      // Its first turn takes the rows.
      if (!listed.insert(statement).second || prefetched_.count(statement) != 0) continue;
      StatementTemplate t = MakeTemplate(statement, Placeholders::kNumbered);
      if (!t.templated) continue;
      Shape* shape = Sighted(t.text);
      if (shape == nullptr) ++compiled_;
      batch.append("; ").append(shape != nullptr ? ByName(*shape, t.values) : JoinTextWithBars(statement));
      members.emplace_back(&statement, shape);
    }
    if (members.empty()) return;
    batch += "; RELEASE SAVEPOINT tqlm_ahead";
    if (!TrySend(batch)) {
      SQLFreeStmt(statement_, SQL_CLOSE);
      const bool undone = TrySend("ROLLBACK TO SAVEPOINT tqlm_ahead");
      SQLFreeStmt(statement_, SQL_CLOSE);
      // Where even that fails the transaction ends, as after any failure.
      if (!undone) SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_ROLLBACK);
      return;
    }
    const Closed closed{statement_};
    for (const auto& [statement, shape] : members) {  // the savepoint's result comes first
      if (!Succeeded(SQLMoreResults(statement_))) {
        prefetched_.clear();
        return;
      }
      Result result;
      ReadResult(statement_, shape, result.names, result.rows);
      prefetched_.emplace(*statement, std::move(result));
    }
  }

  // Runs a statement as the server speaks it and reads all its rows before
  // it returns, so that drivers that allow one active result per connection
  // serve nested recordsets too.
  void Run(const std::string& text, std::vector<std::string>& names, std::vector<std::vector<Value>>& rows) {
    ++compiled_;
    const SQLHSTMT handle = Send(text);
    const Closed closed{handle};
    std::vector<Column> columns;
    Describe(handle, names, columns);
    Fetch(handle, columns, rows);
  }

  // Runs a statement whose rows, if any, are not wanted (settings, the
  // schema, scripts).
  void Execute(const std::string& text) { const Closed closed{Send(text)}; }

  void EndTransaction(SQLSMALLINT completion) {
    if (!Succeeded(SQLEndTran(SQL_HANDLE_DBC, dbc_, completion))) Fail(SQL_HANDLE_DBC, dbc_);
  }

  [[noreturn]] void Fail(SQLSMALLINT type, SQLHANDLE handle) const { Fail(Diagnostics(type, handle)); }

  // A failed statement ends its transaction (PostgreSQL refuses every
  // further statement of it); the next statement begins another.
  [[noreturn]] void FailStatement(SQLHSTMT statement) {
    prefetched_.clear();  // read in the transaction that ends here
    std::string message = Diagnostics(SQL_HANDLE_STMT, statement);
    // Said first when it is the cause: a driver may report only what it
    // tried last (an internal savepoint, say).
    SQLUINTEGER dead = SQL_CD_FALSE;
    if (Succeeded(SQLGetConnectAttr(dbc_, SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr)) && dead == SQL_CD_TRUE)
      message = "The connection to the repository server was lost: " + message;
    SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_ROLLBACK);
    Fail(message);
  }
  [[noreturn]] void Fail(const std::string& utf8Message) const {
    Raise(kErrRepository, kErrorSource, Utf8ToAnsi(WithoutPassword(utf8Message, password_)));
  }

 private:
  enum class Column { kInteger, kReal, kDecimal, kBytes, kText };

  // Closes the result of the statement handle when it goes.
  struct Closed {
    SQLHSTMT statement;
    ~Closed() { SQLFreeStmt(statement, SQL_CLOSE); }
  };

  // A statement shape of the session (PostgreSQL): how often it was met,
  // and once prepared its name and columns.
  struct Shape {
    std::string name;
    bool refused = false;  // the server could not prepare it
    bool described = false;
    std::vector<std::string> names;
    std::vector<Column> columns;
  };
  // Shapes beyond these are run as they stand; a run meets a few dozen.
  static constexpr std::size_t kMaxShapes = 256;
  // Results read ahead that may wait for their turn at once.
  static constexpr std::size_t kMaxWaiting = 256;

  // The shape of a statement's template as the session knows it: null when
  // the statement is to run as written (its shape met for the first time,
  // refused by the server, or one too many), else prepared by name.
  Shape* Sighted(const std::string& templateText) {
    auto found = shapes_.find(templateText);
    if (found == shapes_.end()) {
      if (shapes_.size() < kMaxShapes) shapes_.emplace(templateText, Shape{});
      return nullptr;
    }
    Shape& shape = found->second;
    if (shape.name.empty() && !shape.refused) Prepare(templateText, shape);
    return shape.refused ? nullptr : &shape;
  }

  // The statement that runs a prepared shape with these values.
  static std::string ByName(const Shape& shape, const std::vector<std::string>& values) {
    std::string execute = "EXECUTE " + shape.name;
    for (std::size_t i = 0; i < values.size(); ++i) {
      execute += i == 0 ? "('" : ", '";
      for (char c : values[i]) execute.append(c == '\'' ? 2 : 1, c);
      execute += '\'';
    }
    if (!values.empty()) execute += ')';
    return execute;
  }

  // The columns and rows of the result at hand; a prepared shape's columns
  // are described once.
  void ReadResult(SQLHSTMT handle, Shape* shape, std::vector<std::string>& names,
                  std::vector<std::vector<Value>>& rows) {
    if (shape == nullptr) {
      std::vector<Column> columns;
      Describe(handle, names, columns);
      return Fetch(handle, columns, rows);
    }
    if (!shape->described) {
      Describe(handle, shape->names, shape->columns);
      shape->described = true;
    }
    names = shape->names;
    Fetch(handle, shape->columns, rows);
  }

  // Prepares a shape, or marks it refused: a shape whose parameters the
  // server cannot type (a value alone in a select list, say). A refusal
  // must not end the transaction, whose snapshot the run reads.
  void Prepare(const std::string& text, Shape& shape) {
    const std::string name = "tqlm_" + std::to_string(++prepared_);
    Execute("SAVEPOINT tqlm_prepare");
    ++compiled_;
    const bool prepared = TrySend("PREPARE " + name + " AS " + text);
    SQLFreeStmt(statement_, SQL_CLOSE);
    Execute(prepared ? "RELEASE SAVEPOINT tqlm_prepare" : "ROLLBACK TO SAVEPOINT tqlm_prepare");
    if (prepared) shape.name = name;
    else shape.refused = true;
  }

  void Describe(SQLHSTMT handle, std::vector<std::string>& names, std::vector<Column>& columns) {
    SQLSMALLINT count = 0;
    if (!Succeeded(SQLNumResultCols(handle, &count))) FailStatement(handle);
    columns.resize(static_cast<std::size_t>(count));
    names.resize(columns.size());
    for (SQLUSMALLINT i = 0; i < count; ++i) {
      SQLWCHAR name[256];
      SQLSMALLINT nameLength = 0, type = 0, scale = 0, nullable = 0;
      SQLULEN size = 0;
      if (!Succeeded(SQLDescribeColW(handle, SQLUSMALLINT(i + 1), name, SQLSMALLINT(sizeof name / sizeof *name),
                                     &nameLength, &type, &size, &scale, &nullable)))
        FailStatement(handle);
      names[i] = Utf8ToAnsi(Utf8(name, std::min<std::size_t>(nameLength, sizeof name / sizeof *name - 1)));
      columns[i] = KindOf(type);
    }
  }

  void Fetch(SQLHSTMT handle, const std::vector<Column>& columns, std::vector<std::vector<Value>>& rows) {
    for (;;) {
      const SQLRETURN rc = SQLFetch(handle);
      if (rc == SQL_NO_DATA) break;
      if (!Succeeded(rc)) FailStatement(handle);
      std::vector<Value> row(columns.size());
      for (std::size_t i = 0; i < columns.size(); ++i) row[i] = Read(handle, SQLUSMALLINT(i + 1), columns[i]);
      rows.push_back(std::move(row));
    }
  }

  // Sends a statement on the session's one statement handle (a statement
  // that touched no row is no failure) and gives the handle.
  SQLHSTMT Send(const std::string& text) {
    if (!TrySend(text)) FailStatement(statement_);
    return statement_;
  }
  bool TrySend(const std::string& text) {
    if (statement_ == SQL_NULL_HSTMT && !Succeeded(SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &statement_)))
      Fail(SQL_HANDLE_DBC, dbc_);
    WideText wide = Utf16(text);
    const SQLRETURN rc = SQLExecDirectW(statement_, wide.data(), static_cast<SQLINTEGER>(wide.size()));
    return Succeeded(rc) || rc == SQL_NO_DATA;
  }

  void Connect(const std::string& odbc) {
    std::lock_guard<std::mutex> lock(SessionMutex());
    WideText text = Utf16(odbc);
    SQLSMALLINT outLength = 0;
    const SQLRETURN rc = SQLDriverConnectW(dbc_, nullptr, text.data(), static_cast<SQLSMALLINT>(text.size()),
                                           nullptr, 0, &outLength, SQL_DRIVER_NOPROMPT);
    if (!Succeeded(rc)) Fail(SQL_HANDLE_DBC, dbc_);
    connected_ = true;
  }

  void Disconnect() {
    std::lock_guard<std::mutex> lock(SessionMutex());
    SQLDisconnect(dbc_);
    connected_ = false;
  }


  std::string Info(SQLUSMALLINT type) const {
    SQLWCHAR value[256];
    SQLSMALLINT length = 0;
    if (!Succeeded(SQLGetInfoW(dbc_, type, value, sizeof value, &length))) Fail(SQL_HANDLE_DBC, dbc_);
    return Utf8(value, std::min<std::size_t>(static_cast<std::size_t>(length) / sizeof(SQLWCHAR),
                                             sizeof value / sizeof *value - 1));
  }

  static Column KindOf(SQLSMALLINT type) {
    switch (type) {
      case SQL_SMALLINT: case SQL_INTEGER: case SQL_BIGINT: case SQL_TINYINT: case SQL_BIT:
        return Column::kInteger;
      case SQL_NUMERIC: case SQL_DECIMAL:
        return Column::kDecimal;
      case SQL_REAL: case SQL_FLOAT: case SQL_DOUBLE:
        return Column::kReal;
      case SQL_BINARY: case SQL_VARBINARY: case SQL_LONGVARBINARY:
        return Column::kBytes;
      default:
        return Column::kText;
    }
  }

  // A value of a fixed-size C type; nothing for Null.
  template <class T>
  std::optional<T> ReadFixed(SQLHSTMT statement, SQLUSMALLINT column, SQLSMALLINT cType) const {
    T number{};
    SQLLEN indicator = 0;
    if (!Succeeded(SQLGetData(statement, column, cType, &number, 0, &indicator))) Fail(SQL_HANDLE_STMT, statement);
    if (indicator == SQL_NULL_DATA) return std::nullopt;
    return number;
  }

  Value Read(SQLHSTMT statement, SQLUSMALLINT column, Column kind) const {
    switch (kind) {
      case Column::kInteger: {
        const auto number = ReadFixed<SQLBIGINT>(statement, column, SQL_C_SBIGINT);
        return number ? Value::Integer(*number) : Value();
      }
      case Column::kDecimal: {
        // Read as the server writes it: a whole number that fits stays one,
        // any other is a real (never cut to the largest integer).
        std::string units;
        if (!ReadLong(statement, column, SQL_C_WCHAR, sizeof(SQLWCHAR), units)) return Value();
        const std::string text = Utf8(reinterpret_cast<const SQLWCHAR*>(units.data()), units.size() / sizeof(SQLWCHAR));
        std::int64_t whole = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), whole);
        if (error == std::errc() && end == text.data() + text.size()) return Value::Integer(whole);
        double real = 0;
        const auto [realEnd, realError] = std::from_chars(text.data(), text.data() + text.size(), real);
        if (realError == std::errc() && realEnd == text.data() + text.size()) return Value::Real(real);
        return Value::Text(Utf8ToAnsi(text));
      }
      case Column::kReal: {
        const auto number = ReadFixed<double>(statement, column, SQL_C_DOUBLE);
        return number ? Value::Real(*number) : Value();
      }
      case Column::kBytes: {
        std::string bytes;
        if (!ReadLong(statement, column, SQL_C_BINARY, 1, bytes)) return Value();
        return Value::Text(std::move(bytes));
      }
      case Column::kText: {
        std::string units;
        if (!ReadLong(statement, column, SQL_C_WCHAR, sizeof(SQLWCHAR), units)) return Value();
        return Value::Text(Utf8ToAnsi(
            Utf8(reinterpret_cast<const SQLWCHAR*>(units.data()), units.size() / sizeof(SQLWCHAR))));
      }
    }
    return Value();
  }

  // A column of any length, read in pieces; false for Null. `unit` is the
  // size of one character of the C type (the terminator the driver adds to
  // each piece of text).
  bool ReadLong(SQLHSTMT statement, SQLUSMALLINT column, SQLSMALLINT cType, std::size_t unit,
                std::string& out) const {
    char buffer[8192];
    const std::size_t terminator = cType == SQL_C_BINARY ? 0 : unit;
    for (;;) {
      SQLLEN indicator = 0;
      const SQLRETURN rc = SQLGetData(statement, column, cType, buffer, sizeof buffer, &indicator);
      if (rc == SQL_NO_DATA) return true;
      if (!Succeeded(rc)) Fail(SQL_HANDLE_STMT, statement);
      if (indicator == SQL_NULL_DATA) return false;
      std::size_t got;
      if (indicator == SQL_NO_TOTAL || static_cast<std::size_t>(indicator) > sizeof buffer - terminator) {
        got = sizeof buffer - terminator;  // a full piece; more follows
      } else {
        got = static_cast<std::size_t>(indicator);
      }
      got -= got % unit;
      out.append(buffer, got);
      if (rc == SQL_SUCCESS) return true;
    }
  }

  SQLHENV env_ = SQL_NULL_HENV;
  SQLHDBC dbc_ = SQL_NULL_HDBC;
  SQLHSTMT statement_ = SQL_NULL_HSTMT;
  bool connected_ = false;
  std::string password_;
  std::string dbms_;
  Dialect dialect_ = Dialect::kBars;
  long compiled_ = 0;
  bool prepares_ = false;
  std::unordered_map<std::string, Shape> shapes_;
  long prepared_ = 0;
  // Rows of statements run ahead of their turn, by text, each handed out
  // once.
  struct Result {
    std::vector<std::string> names;
    std::vector<std::vector<Value>> rows;
  };
  std::unordered_map<std::string, Result> prefetched_;
};

// All rows of one statement, read at once.
class OdbcCursor final : public Cursor {
 public:
  const ColumnNames& Names() const override { return names_; }
  bool Next(std::vector<Value>& row) override {
    if (next_ == rows_.size()) return false;
    row = std::move(rows_[next_++]);
    return true;
  }

  ColumnNames names_;
  std::vector<std::vector<Value>> rows_;

 private:
  std::size_t next_ = 0;
};

class OdbcBackend final : public Backend {
 public:
  OdbcBackend(const ServerConnection& server, const std::string& snapshot) : connection_(server, true, snapshot) {}

  std::unique_ptr<Cursor> Execute(const std::string& statement) override {
    auto cursor = std::make_unique<OdbcCursor>();
    std::vector<std::string> names;
    connection_.Query(statement, names, cursor->rows_);
    cursor->names_ = std::make_shared<const std::vector<std::string>>(std::move(names));
    return cursor;
  }
  long Prepared() const override { return connection_.Compiled(); }
  std::string ExportSnapshot() override { return connection_.ExportSnapshot(); }
  bool ReadsAhead() const override { return connection_.ReadsAhead(); }
  void Prefetch(const std::vector<std::string>& statements) noexcept override {
    try {
      connection_.Prefetch(statements);
    } catch (const Raised&) {
      // the statements run in their turn, and meet the failure there
    }
  }

 private:
  OdbcConnection connection_;
};

// Statements without "order by" return rows in the order the server finds
// them. SQLite finds them in the order of the index it searches, rows of one
// key in the order they were loaded; a PostgreSQL table of a few rows is
// read from start to end. Storing every table in the order of its first
// index, rows of one key as loaded (an index scan, never a sort, which would
// not keep them), and giving the planner the tables' sizes makes the two
// return the same order for a freshly loaded repository.
void Settle(OdbcConnection& connection) {
  std::vector<std::string> names;
  std::vector<std::vector<Value>> rows;
  // The repository's own tables (qx, a module, a number), each by its first
  // index that covers every row.
  connection.Run(
      "select distinct on (t.relname) format('CLUSTER %I USING %I', t.relname, i.relname) from pg_index x "
      "join pg_class i on i.oid = x.indexrelid join pg_class t on t.oid = x.indrelid "
      "join pg_namespace n on n.oid = t.relnamespace where n.nspname = current_schema() and x.indpred is null "
      "and t.relname ~ '^qx[a-z]{3}[0-9]{3}$' order by t.relname, i.oid",
      names, rows);
  connection.Execute("SET LOCAL enable_sort = off");
  for (const auto& row : rows) connection.Execute(AnsiToUtf8(row[0].AsText()));
  connection.Execute("ANALYZE");
}

}  // namespace

std::unique_ptr<Backend> OpenOdbcBackend(const ServerConnection& server, const std::string& snapshot) {
  return std::make_unique<OdbcBackend>(server, snapshot);
}

void CreateServerRepository(const ServerConnection& server, const std::string& schemaSql,
                            const std::vector<SqlScript>& scripts) {
  OdbcConnection connection(server, false);
  if (connection.Dbms() != "PostgreSQL")
    connection.Fail("The repository schema can be created on PostgreSQL only, not on \"" + connection.Dbms() + "\".");
  // The schema's first table tells whether it is there already.
  std::vector<std::string> names;
  std::vector<std::vector<Value>> rows;
  connection.Run("select count(*) from information_schema.tables where table_name = 'qxmap100' and "
                 "table_schema = current_schema()",
                 names, rows);
  if (!rows.empty() && rows[0][0].AsNumber() != 0) Raise(kErrFileExists, kErrorSource);
  connection.EndTransaction(SQL_COMMIT);
  std::string failing = "repository schema";
  try {
    connection.Execute(SqliteScriptForPostgres(schemaSql));
    for (const SqlScript& script : scripts) {
      failing = script.name;
      connection.Execute(SqliteScriptForPostgres(script.sql));
    }
    failing = "repository schema";
    Settle(connection);
    connection.EndTransaction(SQL_COMMIT);
  } catch (const Raised& raised) {
    try {
      connection.EndTransaction(SQL_ROLLBACK);
    } catch (const Raised&) {
      // the failure already reported is the one that counts
    }
    Raise(kErrRepository, kErrorSource, Utf8ToAnsi(failing) + ": " + raised.error().description);
  }
}

}  // namespace tqlm
