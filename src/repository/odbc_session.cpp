#include "repository/odbc_session.h"

#include <sqlucode.h>
#include <odbcinst.h>

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <mutex>
#include <optional>

#include "platform/codepage.h"
#include "platform/error.h"

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

// A snapshot's name as PostgreSQL exports it: hexadecimal digits and dashes.
bool IsSnapshotName(const std::string& name) {
  return !name.empty() && name.size() <= 64 && std::all_of(name.begin(), name.end(), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f') || c == '-';
  });
}

OdbcColumn KindOf(SQLSMALLINT type) {
  switch (type) {
    case SQL_SMALLINT: case SQL_INTEGER: case SQL_BIGINT: case SQL_TINYINT: case SQL_BIT:
      return OdbcColumn::kInteger;
    case SQL_NUMERIC: case SQL_DECIMAL:
      return OdbcColumn::kDecimal;
    case SQL_REAL: case SQL_FLOAT: case SQL_DOUBLE:
      return OdbcColumn::kReal;
    case SQL_BINARY: case SQL_VARBINARY: case SQL_LONGVARBINARY:
      return OdbcColumn::kBytes;
    default:
      return OdbcColumn::kText;
  }
}

}  // namespace

void OdbcParameters::Bind(SQLHSTMT handle, const std::vector<const BoundValue*>& values) {
  SQLFreeStmt(handle, SQL_RESET_PARAMS);
  texts_.clear();
  lengths_.clear();
  texts_.reserve(values.size());
  lengths_.reserve(values.size());
  for (const BoundValue* bound : values) {
    const std::u16string wide = AnsiToUtf16(bound->value.AsText());
    texts_.emplace_back(wide.begin(), wide.end());
    lengths_.push_back(bound->value.IsNull() ? SQL_NULL_DATA
                                             : static_cast<SQLLEN>(texts_.back().size() * sizeof(SQLWCHAR)));
  }
  // From the last place to the first: a driver then sizes its table of
  // places once, not once for each place.
  for (std::size_t i = values.size(); i-- > 0;) {
    WideText& text = texts_[i];
    const SQLULEN characters = std::max<SQLULEN>(1, text.size());
    // The driver reads the buffers when the statement runs; neither vector
    // grows again before then.
    SQLBindParameter(handle, static_cast<SQLUSMALLINT>(i + 1), SQL_PARAM_INPUT, SQL_C_WCHAR, SQL_WVARCHAR,
                     characters, 0, text.data(), static_cast<SQLLEN>(text.size() * sizeof(SQLWCHAR)), &lengths_[i]);
  }
}

OdbcSession::OdbcSession(const ServerConnection& server, bool readOnly, const ConnectionOptions& options)
    : password_(server.password) {
  try {
    Open(server, readOnly, options);
  } catch (...) {
    Release();  // a session that failed to open leaves nothing open
    throw;
  }
}

OdbcSession::~OdbcSession() { Release(); }

void OdbcSession::Open(const ServerConnection& server, bool readOnly, const ConnectionOptions& options) {
  if (!Succeeded(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_)))
    Fail("The ODBC driver manager could not be started.");
  SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
  if (!Succeeded(SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_))) Fail(SQL_HANDLE_ENV, env_);
  if (readOnly)
    SQLSetConnectAttrW(dbc_, SQL_ATTR_ACCESS_MODE, reinterpret_cast<SQLPOINTER>(SQL_MODE_READ_ONLY), 0);
  // The PostgreSQL driver sends every value as a parameter of the statement
  // (the extended protocol, which takes one statement at a time) only with
  // UseServerSidePrepare=1; by default it guards every statement with a
  // savepoint of its own, a round trip more each, which Protocol=7.4-0
  // leaves out (a failed statement's transaction is then rolled back by
  // FailStatement). Said by keywords read only at connection time: added at
  // once when the driver manager's registry names that driver for the
  // string, else the session is opened again with them.
  if (const std::optional<std::string> prepare = OdbcKeyword(server.odbc, "useserversideprepare");
      prepare && *prepare != "1")
    Fail("UseServerSidePrepare=" + *prepare +
         " cannot be used: the tool sends every value to the server as a parameter of its statement.");
  const bool ownProtocol = OdbcKeyword(server.odbc, "protocol").has_value();
  const std::string postgresOptions = std::string(";UseServerSidePrepare=1") + (ownProtocol ? "" : ";Protocol=7.4-0");
  bool withOptions = IsPostgresDriver(RegisteredDriver(server.odbc));
  Connect(withOptions ? server.odbc + postgresOptions : server.odbc);
  if (!withOptions && IsPostgresDriver(Info(SQL_DRIVER_NAME))) {
    Disconnect();
    Connect(server.odbc + postgresOptions);
    withOptions = true;
  }
  dbms_ = Info(SQL_DBMS_NAME);
  if (IsPostgres()) {
    dialect_ = Dialect{"||", ""};
    if (!withOptions) Fail("The PostgreSQL driver did not take the tool's options.");
    tuned_ = !ownProtocol;
  } else if (dbms_ == "Microsoft SQL Server") {
    dialect_ = Dialect{"+", ""};
    queryTimeout_ = options.statementTimeoutSeconds;
  } else {
    Fail("The repository server \"" + dbms_ + "\" is not supported; PostgreSQL and Microsoft SQL Server are.");
  }
  if (!Succeeded(SQLSetConnectAttrW(dbc_, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), 0)))
    Fail(SQL_HANDLE_DBC, dbc_);
  if (!IsPostgres()) return;
  // Literals as the tool writes them: a backslash is a character, never
  // an escape. The driver learns how the server reads literals when it
  // connects, and reads the tool's text the same way only when the server
  // read them so from the start.
  OdbcRows conforming;
  Run("SHOW standard_conforming_strings", conforming);
  standardLiterals_ = conforming.rows.size() == 1 && conforming.rows[0].size() == 1 &&
                      conforming.rows[0][0].AsText() == "on";
  Execute("SET standard_conforming_strings = on");
  Execute("SET statement_timeout = " + std::to_string(static_cast<long long>(options.statementTimeoutSeconds) * 1000));
  if (!readOnly) return;
  // Every transaction of the session reads one snapshot and may not write;
  // the setting takes effect with the next transaction.
  Execute("SET SESSION CHARACTERISTICS AS TRANSACTION ISOLATION LEVEL REPEATABLE READ, READ ONLY");
  EndTransaction(SQL_COMMIT);
  // The first statement of the transaction that follows.
  if (!options.snapshot.empty()) {
    if (!IsSnapshotName(options.snapshot)) Fail("\"" + options.snapshot + "\" names no snapshot.");
    Execute("SET TRANSACTION SNAPSHOT '" + options.snapshot + "'");
  }
}

void OdbcSession::Release() noexcept {
  if (general_ != SQL_NULL_HSTMT) SQLFreeHandle(SQL_HANDLE_STMT, general_);
  general_ = SQL_NULL_HSTMT;
  if (connected_) {
    SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_ROLLBACK);
    Disconnect();
  }
  if (dbc_ != SQL_NULL_HDBC) SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
  if (env_ != SQL_NULL_HENV) SQLFreeHandle(SQL_HANDLE_ENV, env_);
  dbc_ = SQL_NULL_HDBC;
  env_ = SQL_NULL_HENV;
}

SQLHSTMT OdbcSession::General() {
  if (general_ == SQL_NULL_HSTMT) general_ = NewHandle();
  return general_;
}

SQLHSTMT OdbcSession::NewHandle() {
  SQLHSTMT handle = SQL_NULL_HSTMT;
  if (!Succeeded(SQLAllocHandle(SQL_HANDLE_STMT, dbc_, &handle))) Fail(SQL_HANDLE_DBC, dbc_);
  if (queryTimeout_ > 0)
    SQLSetStmtAttr(handle, SQL_ATTR_QUERY_TIMEOUT, reinterpret_cast<SQLPOINTER>(static_cast<SQLULEN>(queryTimeout_)),
                   0);
  return handle;
}

void OdbcSession::Run(const std::string& utf8, OdbcRows& out) {
  const SQLHSTMT handle = General();
  SQLFreeStmt(handle, SQL_RESET_PARAMS);
  if (!TrySend(handle, utf8)) FailStatement(handle);
  const OdbcClosed closed{handle};
  std::vector<OdbcColumn> columns;
  Describe(handle, out.names, columns);
  Fetch(handle, columns, out.rows);
}

void OdbcSession::Execute(const std::string& utf8) {
  const SQLHSTMT handle = General();
  SQLFreeStmt(handle, SQL_RESET_PARAMS);
  if (!TrySend(handle, utf8)) FailStatement(handle);
  SQLFreeStmt(handle, SQL_CLOSE);
}

// A statement that touched no row is no failure.
bool OdbcSession::TrySend(SQLHSTMT handle, const std::string& utf8) {
  WideText wide = Utf16(utf8);
  const SQLRETURN rc = SQLExecDirectW(handle, wide.data(), static_cast<SQLINTEGER>(wide.size()));
  return Succeeded(rc) || rc == SQL_NO_DATA;
}

bool OdbcSession::TryPrepare(SQLHSTMT handle, const std::string& utf8) {
  WideText wide = Utf16(utf8);
  return Succeeded(SQLPrepareW(handle, wide.data(), static_cast<SQLINTEGER>(wide.size())));
}

void OdbcSession::Describe(SQLHSTMT handle, std::vector<std::string>& names, std::vector<OdbcColumn>& columns) {
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

void OdbcSession::Fetch(SQLHSTMT handle, const std::vector<OdbcColumn>& columns,
                        std::vector<std::vector<Value>>& rows) {
  for (;;) {
    const SQLRETURN rc = SQLFetch(handle);
    if (rc == SQL_NO_DATA) break;
    if (!Succeeded(rc)) FailStatement(handle);
    std::vector<Value> row(columns.size());
    for (std::size_t i = 0; i < columns.size(); ++i) row[i] = Read(handle, SQLUSMALLINT(i + 1), columns[i]);
    rows.push_back(std::move(row));
  }
}

void OdbcSession::EndTransaction(SQLSMALLINT completion) {
  if (!Succeeded(SQLEndTran(SQL_HANDLE_DBC, dbc_, completion))) Fail(SQL_HANDLE_DBC, dbc_);
}

void OdbcSession::RollBack() noexcept { SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_ROLLBACK); }

void OdbcSession::FailStatement(SQLHSTMT handle) {
  std::string message = Diagnostics(SQL_HANDLE_STMT, handle);
  // Said first when it is the cause: a driver may report only what it
  // tried last (an internal savepoint, say).
  SQLUINTEGER dead = SQL_CD_FALSE;
  if (Succeeded(SQLGetConnectAttr(dbc_, SQL_ATTR_CONNECTION_DEAD, &dead, 0, nullptr)) && dead == SQL_CD_TRUE)
    message = "The connection to the repository server was lost: " + message;
  SQLFreeStmt(handle, SQL_CLOSE);
  RollBack();
  Fail(message);
}

void OdbcSession::Fail(SQLSMALLINT type, SQLHANDLE handle) const { Fail(Diagnostics(type, handle)); }

void OdbcSession::Fail(const std::string& utf8Message) const {
  Raise(kErrRepository, kErrorSource, Utf8ToAnsi(WithoutPassword(utf8Message, password_)));
}

void OdbcSession::Connect(const std::string& odbc) {
  std::lock_guard<std::mutex> lock(SessionMutex());
  WideText text = Utf16(odbc);
  SQLSMALLINT outLength = 0;
  const SQLRETURN rc = SQLDriverConnectW(dbc_, nullptr, text.data(), static_cast<SQLSMALLINT>(text.size()), nullptr,
                                         0, &outLength, SQL_DRIVER_NOPROMPT);
  if (!Succeeded(rc)) Fail(SQL_HANDLE_DBC, dbc_);
  connected_ = true;
}

void OdbcSession::Disconnect() {
  std::lock_guard<std::mutex> lock(SessionMutex());
  SQLDisconnect(dbc_);
  connected_ = false;
}

std::string OdbcSession::Info(SQLUSMALLINT type) const {
  SQLWCHAR value[256];
  SQLSMALLINT length = 0;
  if (!Succeeded(SQLGetInfoW(dbc_, type, value, sizeof value, &length))) Fail(SQL_HANDLE_DBC, dbc_);
  return Utf8(value, std::min<std::size_t>(static_cast<std::size_t>(length) / sizeof(SQLWCHAR),
                                           sizeof value / sizeof *value - 1));
}

namespace {

// A value of a fixed-size C type; nothing for Null.
template <class T>
std::optional<T> ReadFixed(const OdbcSession& session, SQLHSTMT handle, SQLUSMALLINT column, SQLSMALLINT cType) {
  T number{};
  SQLLEN indicator = 0;
  if (!Succeeded(SQLGetData(handle, column, cType, &number, 0, &indicator))) session.Fail(SQL_HANDLE_STMT, handle);
  if (indicator == SQL_NULL_DATA) return std::nullopt;
  return number;
}

}  // namespace

Value OdbcSession::Read(SQLHSTMT handle, SQLUSMALLINT column, OdbcColumn kind) const {
  switch (kind) {
    case OdbcColumn::kInteger: {
      const auto number = ReadFixed<SQLBIGINT>(*this, handle, column, SQL_C_SBIGINT);
      return number ? Value::Integer(*number) : Value();
    }
    case OdbcColumn::kDecimal: {
      // Read as the server writes it: a whole number that fits stays one,
      // any other is a real (never cut to the largest integer).
      std::string units;
      if (!ReadLong(handle, column, SQL_C_WCHAR, sizeof(SQLWCHAR), units)) return Value();
      const std::string text = Utf8(reinterpret_cast<const SQLWCHAR*>(units.data()), units.size() / sizeof(SQLWCHAR));
      std::int64_t whole = 0;
      const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), whole);
      if (error == std::errc() && end == text.data() + text.size()) return Value::Integer(whole);
      double real = 0;
      const auto [realEnd, realError] = std::from_chars(text.data(), text.data() + text.size(), real);
      if (realError == std::errc() && realEnd == text.data() + text.size()) return Value::Real(real);
      return Value::Text(Utf8ToAnsi(text));
    }
    case OdbcColumn::kReal: {
      const auto number = ReadFixed<double>(*this, handle, column, SQL_C_DOUBLE);
      return number ? Value::Real(*number) : Value();
    }
    case OdbcColumn::kBytes: {
      std::string bytes;
      if (!ReadLong(handle, column, SQL_C_BINARY, 1, bytes)) return Value();
      return Value::Text(std::move(bytes));
    }
    case OdbcColumn::kText: {
      std::string units;
      if (!ReadLong(handle, column, SQL_C_WCHAR, sizeof(SQLWCHAR), units)) return Value();
      return Value::Text(Utf16ToAnsi(
          std::u16string_view(reinterpret_cast<const char16_t*>(units.data()), units.size() / sizeof(char16_t))));
    }
  }
  return Value();
}

// A column of any length, read in pieces; false for Null. `unit` is the size
// of one character of the C type (the terminator the driver adds to each
// piece of text).
bool OdbcSession::ReadLong(SQLHSTMT handle, SQLUSMALLINT column, SQLSMALLINT cType, std::size_t unit,
                           std::string& out) const {
  char buffer[8192];
  const std::size_t terminator = cType == SQL_C_BINARY ? 0 : unit;
  for (;;) {
    SQLLEN indicator = 0;
    const SQLRETURN rc = SQLGetData(handle, column, cType, buffer, sizeof buffer, &indicator);
    if (rc == SQL_NO_DATA) return true;
    if (!Succeeded(rc)) Fail(SQL_HANDLE_STMT, handle);
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

}  // namespace tqlm
