// Which connection strings name a server, and the ADO strings of the
// original's clients as ODBC strings.

#include "repository/server_connection.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/error.h"
#include "repository/connection.h"
#include "support/test_support.h"

namespace tqlm {
namespace {

using test_support::ErrorOf;

std::string Odbc(const std::string& connection) {
  auto server = ServerConnectionFor(connection);
  return server ? server->odbc : "<file>";
}

TEST(ServerConnection, FilesAndOdbcStrings) {
  for (const char* file : {"repo.db", "/data/a=b.db", "sqlite:x=y;Driver=z", " SQLite:/r.db", "C:\\repos\\conv.mdb"})
    EXPECT_EQ(Odbc(file), "<file>") << file;
  EXPECT_EQ(RepositoryFile(" SQLite:/r.db"), "/r.db");
  EXPECT_EQ(RepositoryFile("/data/a=b.db"), "/data/a=b.db");

  // After "odbc:" the string goes to the driver manager as it stands.
  EXPECT_EQ(Odbc("odbc:DSN=Conversion"), "DSN=Conversion");
  EXPECT_EQ(Odbc(" ODBC: Driver={PostgreSQL Unicode};Server=127.0.0.1;PWD={a;b}}} "),
            "Driver={PostgreSQL Unicode};Server=127.0.0.1;PWD={a;b}}}");
  EXPECT_EQ(ServerConnectionFor("odbc:Driver={x};PWD={a;b}}}")->password, "a;b}");
  // An ODBC string without the prefix, as a client of the original gave it.
  EXPECT_EQ(Odbc("DSN=Conversion;UID=sa;PWD=s3"), "DSN=Conversion;UID=sa;PWD=s3");
  EXPECT_EQ(ServerConnectionFor("DSN=Conversion;UID=sa;Password=s3")->password, "s3");
  EXPECT_EQ(RepositoryFile("DSN=Conversion"), "");
}

TEST(ServerConnection, AdoStringsOfTheSqlServerProvidersBecomeFreeTds) {
  const std::pair<const char*, const char*> table[] = {
      {"Provider=SQLOLEDB.1;Data Source=srv;Initial Catalog=conv;User ID=sa;Password=s3",
       "Driver=FreeTDS;Server=srv;Database=conv;UID=sa;PWD=s3"},
      {"Provider=SQLNCLI11;Server=tcp:srv,1444;Database=conv;UID=reader;PWD=\"x;y\";Persist Security Info=False",
       "Driver=FreeTDS;Server=srv;Port=1444;Database=conv;UID=reader;PWD={x;y}"},
      {"provider=msoledbsql;data source=(local);initial catalog=conv;user id=sa;password='it''s';"
       "Connect Timeout=30;Application Name=migr;Encrypt=yes;Integrated Security=False",
       "Driver=FreeTDS;Server=localhost;Database=conv;UID=sa;PWD=it's;APP=migr;Encryption=require"},
      {"Provider=MSDASQL;DSN=Conversion;User ID=sa;Password=s3", "DSN=Conversion;UID=sa;PWD=s3"},
  };
  for (const auto& [ado, odbc] : table) EXPECT_EQ(Odbc(ado), odbc) << ado;
  EXPECT_EQ(ServerConnectionFor("Provider=SQLOLEDB;Data Source=s;Password='it''s'")->password, "it's");
}

TEST(ServerConnection, WhatCannotBeTranslatedIsRefusedByName) {
  const std::pair<const char*, const char*> table[] = {
      {"Provider=SQLOLEDB;Data Source=srv;Integrated Security=SSPI", "Integrated Security=SSPI (Windows authentication)"},
      {"Provider=SQLNCLI;Server=srv;Trusted_Connection=yes", "Trusted_Connection=yes (Windows authentication)"},
      {"Driver={SQL Server};Server=srv;Trusted_Connection=Yes", "Windows authentication"},
      {"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=c:\\conv.mdb", "\"microsoft.jet.oledb.4.0\" has no ODBC counterpart"},
      {"Provider=SQLOLEDB;Data Source=srv;Failover Partner=b", "\"Failover Partner\" has no ODBC counterpart"},
      {"odbc:", "nothing after \"odbc:\""},
      {"odbc:DSN=x;PWD={secret", "The value of PWD in the connection string is not closed."},
      {"Provider=SQLOLEDB;Password=se;cret", "not of the form keyword=value"},
  };
  for (const auto& [connection, words] : table) {
    VbError error = ErrorOf([&] { ServerConnectionFor(connection); });
    EXPECT_EQ(error.number, kErrRepository) << connection;
    EXPECT_NE(error.description.find(words), std::string::npos) << connection << ": " << error.description;
    EXPECT_EQ(error.description.find("cret"), std::string::npos) << error.description;
  }
}

TEST(ServerConnection, ShownTextsHideEveryPasswordHoweverWritten) {
  EXPECT_EQ(ShownConnectionString("odbc:Driver={PostgreSQL Unicode};PWD={se}}cret};UID=x"),
            "odbc:Driver=PostgreSQL Unicode;PWD=****;UID=x");
  EXPECT_EQ(ShownConnectionString("Provider=MSDASQL;DSN=d;Password=\"pa\"\"ss\""), "Provider=MSDASQL;DSN=d;Password=****");
  EXPECT_EQ(ShownConnectionString("DSN=d;pwd=\"a"), "DSN=d;pwd=****");  // ODBC's quotes are no delimiters
  EXPECT_EQ(ShownConnectionString("/data/a=b.db"), "/data/a=b.db");
  EXPECT_EQ(ServerConnectionFor("odbc:DSN=x;PWD=\"a\"b")->password, "\"a\"b");
  // A text that may hold the password has it masked everywhere.
  EXPECT_EQ(WithoutPassword("user x, password s3cret; s3cret again", "s3cret"), "user x, password ****; **** again");
  EXPECT_EQ(WithoutPassword("no password", ""), "no password");
  EXPECT_EQ(WithoutPassword("aaaa", "aa"), "********");
}

}  // namespace
}  // namespace tqlm
