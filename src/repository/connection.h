// The repository connection: a backend chosen by the connection string,
// opened read-only when the first statement runs, kept for one run.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <tqlm/repository.h>

#include "repository/recordset.h"
#include "repository/statement.h"

namespace tqlm {

class Backend {
 public:
  virtual ~Backend() = default;
  // Runs a statement: its shape as the server speaks it, each value bound
  // to its place. Failures raise -2147217900 with the backend's message.
  virtual std::unique_ptr<Cursor> Execute(const Statement& statement) = 0;
  // Statements compiled so far (a statement reused is not compiled again).
  virtual long Prepared() const = 0;
  // Statements answered from rows read ahead of their turn.
  virtual long AnsweredAhead() const { return 0; }
  // A name under which another connection reads the snapshot this one
  // reads, or empty where the backend cannot share it.
  virtual std::string ExportSnapshot() { return {}; }
  // Statements that are about to run, none depending on the rows of
  // another: a backend may run them together now and answer each the next
  // time it is executed. It must then give exactly the rows, or the failure,
  // that running it at that time would give. Never raises.
  virtual void Prefetch(const std::vector<const Statement*>& /*statements*/) noexcept {}
  // Whether Prefetch reads anything ahead; where it does not, the readers
  // need not build the statements they would announce.
  virtual bool ReadsAhead() const { return false; }
};

// How a connection is opened, beside its connection string.
struct ConnectionOptions {
  // The snapshot to read (from ExportSnapshot), for a server; empty: its own.
  std::string snapshot;
  // A server ends any one statement that runs longer (0: no bound).
  int statementTimeoutSeconds = 60;
};

// Opens the backend for a connection string: a path to a SQLite file or
// "sqlite:PATH", or a server. Raises -2147217900 when it cannot be opened.
std::unique_ptr<Backend> OpenBackend(std::string_view connectionString, const ConnectionOptions& options = {});

// A connection for a worker, on the snapshot of the run's connection: a
// SQLite file's is opened together with the run's; a server's is opened by
// Open on the worker's own thread, on the snapshot the run's exports, so
// that workers connect while the run goes on.
class Companion {
 public:
  explicit Companion(std::unique_ptr<Backend> opened) : opened_(std::move(opened)) {}
  Companion(std::string connectionString, ConnectionOptions options)
      : connectionString_(std::move(connectionString)), options_(std::move(options)) {}
  // The backend, opened now where it was not; raises as OpenBackend does.
  std::unique_ptr<Backend> Open();

 private:
  std::unique_ptr<Backend> opened_;
  std::string connectionString_;
  ConnectionOptions options_;
};

class Repository {
 public:
  // Forgets any open connection; the next statement opens `connectionString`.
  void SetConnectionString(std::string connectionString);
  const std::string& ConnectionString() const { return connectionString_; }

  // Runs a statement, opening the connection on first use.
  Recordset Open(const Statement& statement);

  // Like Open, for the lookups a run repeats (domain details, constants,
  // library rows): within one connection, which reads one snapshot, a
  // statement already run (the same shape and values) returns its rows
  // again from memory. The observer still sees every statement; results are
  // kept up to a fixed budget, after which they are forgotten and read again.
  Recordset OpenRemembered(const Statement& statement);

  // Tells the open connection which statements a reader is about to run,
  // none depending on the rows of another, so that a server can be asked
  // for them in one exchange. Only a hint: each statement is still opened,
  // observed, counted and answered in its turn, with the rows or the failure
  // it has then. Opens nothing and never raises.
  void Prefetch(const std::vector<Statement>& statements) noexcept;
  // Whether the open connection reads announced statements ahead.
  bool ReadsAhead() const { return backend_ && backend_->ReadsAhead(); }

  // Statements sent to the backend, and those it had to compile, since the
  // connection string was set.
  long StatementsSent() const { return sent_; }
  long StatementsPrepared() const { return prepared_ + (backend_ ? backend_->Prepared() : 0); }
  // Statements sent that the backend answered from an exchange ahead.
  long StatementsReadAhead() const { return ahead_ + (backend_ ? backend_->AnsweredAhead() : 0); }

  // Opens the connection now, when it is not open; raises as a statement
  // would.
  void Connect();
  // Statements that raised an error since the connection string was set.
  long Failures() const { return failures_; }

  // Ends the connection; the next statement opens a new one.
  void Disconnect();

  // Connections that read this connection's snapshot, for workers: up to
  // `count`, fewer where they could not be had. A SQLite file's are opened
  // together with this connection (ShareSnapshot says how many, before it
  // opens), since a connection that starts later could read a newer
  // snapshot, or (in rollback mode) wait for a writer that waits for this
  // one; a server's open later, on the snapshot this one exports.
  std::vector<Companion> Companions(int count);
  // The connection opened next opens `count` companions with it (said again
  // for each connection).
  void ShareSnapshot(int count) { companionsWanted_ = count; }
  // Takes a backend a Companion opened as this one's connection.
  void Adopt(std::unique_ptr<Backend> backend);
  // A server ends any one statement of the connection opened next that runs
  // longer than this (0: no bound; 60 unless said).
  void SetStatementTimeout(int seconds) { options_.statementTimeoutSeconds = seconds; }
  int StatementTimeout() const { return options_.statementTimeoutSeconds; }

  // Sees every statement as the component's procedures build it, its values
  // pasted in, before it is sent (for tests and tracing).
  void SetStatementObserver(std::function<void(std::string_view)> observer) { observer_ = std::move(observer); }

 private:
  std::string connectionString_;
  ConnectionOptions options_;
  std::unique_ptr<Backend> backend_;
  int companionsWanted_ = 0;
  std::vector<std::unique_ptr<Backend>> companions_;  // opened with backend_, not yet taken
  std::function<void(std::string_view)> observer_;
  static constexpr std::size_t kRememberedBudget = 4u << 20;  // bytes
  class RememberedCursor;
  struct Remembered {
    ColumnNames names;
    std::vector<std::vector<Value>> rows;
  };
  // By the statement's key: its shape and its values.
  std::unordered_map<std::string, std::shared_ptr<const Remembered>> remembered_;
  std::size_t rememberedBytes_ = 0;
  long sent_ = 0;
  long failures_ = 0;
  long prepared_ = 0;  // by the connections closed
  long ahead_ = 0;     // by the connections closed

  // Opens the connection on first use and runs the statement.
  std::unique_ptr<Cursor> Send(const Statement& statement);
  void Forget();
};

}  // namespace tqlm
