// The repository connection: a backend chosen by the connection string,
// opened read-only when the first statement runs, kept for one run.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "repository/recordset.h"

namespace tqlm {

class Backend {
 public:
  virtual ~Backend() = default;
  // Runs a statement: UTF-8 text in the original server's dialect, which
  // the backend rewrites where its server speaks another. Failures raise
  // -2147217900 with the backend's message.
  virtual std::unique_ptr<Cursor> Execute(const std::string& statement) = 0;
};

// Opens the backend for a connection string: a path to a SQLite file or
// "sqlite:PATH". Raises -2147217900 when it cannot be opened.
std::unique_ptr<Backend> OpenBackend(std::string_view connectionString);

// The file a connection string opens, for a SQLite repository; empty for a
// server.
std::string RepositoryFile(std::string_view connectionString);

class Repository {
 public:
  // Forgets any open connection; the next statement opens `connectionString`.
  void SetConnectionString(std::string connectionString);
  const std::string& ConnectionString() const { return connectionString_; }

  // Runs a statement given as Windows-1252 text, opening the connection on
  // first use.
  Recordset Open(std::string_view statement);

  // Ends the connection; the next statement opens a new one.
  void Disconnect();

  // Sees every statement as the component built it, before it is sent
  // (for tests and tracing).
  void SetStatementObserver(std::function<void(std::string_view)> observer) { observer_ = std::move(observer); }

 private:
  std::string connectionString_;
  std::unique_ptr<Backend> backend_;
  std::function<void(std::string_view)> observer_;
};

}  // namespace tqlm
