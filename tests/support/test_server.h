// The tests' repository backend. A test program run with
// TQLM_TEST_SERVER_DIR set (the state folder of tests/support/test_server.sh)
// builds its repositories on the throw-away PostgreSQL cluster started
// there, one new database each; otherwise as SQLite files.
// Where the cluster could not be started the program's tests are skipped
// with the reason, or fail when TQLM_REQUIRE_SERVER=1 (as in CI).
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>
#include <unistd.h>

namespace tqlm::test_support {

inline bool UsesServer() {
  const char* dir = std::getenv("TQLM_TEST_SERVER_DIR");
  return dir != nullptr && *dir != '\0';
}

inline std::string ServerStateFile(const std::string& name) {
  return std::string(std::getenv("TQLM_TEST_SERVER_DIR")) + "/" + name;
}

struct TestServer {
  std::string socketDir, port;

  // An ODBC connection string (after "odbc:") for `database`.
  std::string Odbc(const std::string& database, const std::string& user = "tqlm",
                   const std::string& password = {}) const {
    std::string odbc = "Driver={PostgreSQL Unicode};Servername=" + socketDir + ";Port=" + port +
                       ";Database=" + database + ";Username=" + user;
    if (!password.empty()) odbc += ";Password=" + password;
    return odbc;
  }

  // Runs SQL in `database` as the superuser; false when psql failed.
  bool Psql(const std::string& database, const std::string& sql) const {
    return std::system((Client("psql -X -q -v ON_ERROR_STOP=1", database) + " >/dev/null 2>&1 <<'TQLM_SQL_END'\n" +
                        sql + "\nTQLM_SQL_END")
                           .c_str()) == 0;
  }

  // What a client program (psql, pg_dump) prints for `database`; throws
  // when it fails, so that no comparison passes on nothing.
  std::string Output(const std::string& program, const std::string& database) const {
    std::string out;
    FILE* pipe = ::popen((Client(program, database) + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) throw std::runtime_error("cannot run " + program);
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    if (::pclose(pipe) != 0) throw std::runtime_error(program + " failed on " + database);
    return out;
  }

  // The rows of every table of `database`, as INSERT statements.
  std::string Dump(const std::string& database) const {
    std::string dump = Output("pg_dump --data-only --inserts", database);
    // Without the random key pg_dump brackets its output with.
    for (const char* key : {"\\restrict ", "\\unrestrict "})
      for (std::size_t at; (at = dump.find(key)) != std::string::npos;) dump.erase(at, dump.find('\n', at) - at);
    return dump;
  }

  std::string Client(const std::string& program, const std::string& database) const {
    return program + " -h '" + socketDir + "' -p " + port + " -U tqlm -d '" + database + "'";
  }

  // The database a connection string made by Odbc() names.
  static std::string DatabaseOf(const std::string& connection) {
    const std::size_t at = connection.find("Database=") + 9;
    return connection.substr(at, connection.find(';', at) - at);
  }

  // A new, empty database that the reader role may read; its name. It is
  // dropped when the test program ends.
  std::string NewDatabase() const {
    static std::atomic<int> counter{0};
    const std::string name = "t" + std::to_string(::getpid()) + "_" + std::to_string(++counter);
    Created().push_back(name);
    if (!Psql("postgres", "CREATE DATABASE " + name) ||
        !Psql(name, "ALTER DEFAULT PRIVILEGES IN SCHEMA public GRANT SELECT ON TABLES TO reader"))
      throw std::runtime_error("cannot create database " + name + " on the test server");
    return name;
  }

  // The databases this program created, for dropping at its end (each one
  // holds a few megabytes).
  static std::vector<std::string>& Created() {
    static std::vector<std::string> names;
    return names;
  }
};

// The running test server; throws with the reason when there is none.
inline const TestServer& Server() {
  static const TestServer server = [] {
    std::ifstream in(ServerStateFile("server"));
    TestServer s;
    if (!(in >> s.socketDir >> s.port)) {
      std::ifstream why(ServerStateFile("unavailable"));
      std::stringstream reason;
      reason << why.rdbuf();
      throw std::runtime_error("no test server: " +
                               (reason.str().empty() ? "it was not started (TQLM_TEST_SERVER_DIR)" : reason.str()));
    }
    return s;
  }();
  return server;
}

// What the tests' backend says of a statement on a missing table.
inline std::string NoSuchTable(const std::string& table) {
  return UsesServer() ? "ERROR: relation \"" + table + "\" does not exist; Error while executing the query"
                      : "no such table: " + table;
}

// Skips every test of a program meant for the server when none runs.
class ServerEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    if (!UsesServer()) return;
    try {
      Server();
    } catch (const std::exception& e) {
      const char* required = std::getenv("TQLM_REQUIRE_SERVER");
      if (required != nullptr && std::string(required) == "1") FAIL() << e.what();
      GTEST_SKIP() << e.what();
    }
  }
  void TearDown() override {
    for (const std::string& name : TestServer::Created())
      Server().Psql("postgres", "DROP DATABASE IF EXISTS " + name + " WITH (FORCE)");
    TestServer::Created().clear();
  }
};

inline testing::Environment* const kServerEnvironment = testing::AddGlobalTestEnvironment(new ServerEnvironment);

}  // namespace tqlm::test_support
