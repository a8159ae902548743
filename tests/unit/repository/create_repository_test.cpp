#include "repository/schema.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/error.h"
#include "repository/connection.h"
#include "support/test_support.h"

namespace tqlm {
namespace {

using test_support::ErrorOf;
using test_support::RaisedNumber;
using test_support::ReadBytes;
using test_support::TempFolder;
using test_support::WriteBytes;

class CreateRepositoryTest : public ::testing::Test {
 protected:
  TempFolder folder_;
  const std::string path_ = folder_.File("repo.db");
};

TEST_F(CreateRepositoryTest, BuildsSchemaAndRunsScriptsInOrder) {
  const std::string first = folder_.Write("a.sql", "INSERT INTO qxlgy115 VALUES ('C', '1', 'one');");
  const std::string second = folder_.Write("b.sql", "UPDATE qxlgy115 SET oval = oval || '!';");
  CreateRepository(path_, {first, second});

  Repository repository;
  repository.SetConnectionString(path_);
  EXPECT_EQ(repository.Open("select oval from qxlgy115").Field(0).AsText(), "one!");
  EXPECT_EQ(repository.Open("select count(*) from qxlib100").Field(0).AsText(), "0");
}

TEST_F(CreateRepositoryTest, RefusesAnExistingFile) {
  WriteBytes(path_, "keep me");
  EXPECT_EQ(RaisedNumber([&] { CreateRepository(path_); }), kErrFileExists);
  EXPECT_EQ(ReadBytes(path_), "keep me");
}

TEST_F(CreateRepositoryTest, FailingScriptLeavesNoFile) {
  const std::string good = folder_.Write("good.sql", "INSERT INTO qxlgy115 VALUES ('C', '1', 'one');");
  const std::string bad =
      folder_.Write("bad.sql", "INSERT INTO qxlgy115 VALUES ('C', '2', 'two');\nINSERT INTO nosuch VALUES (1);");

  VbError error = ErrorOf([&] { CreateRepository(path_, {good, bad}); });
  EXPECT_EQ(error.number, kErrRepository);
  EXPECT_NE(error.description.find("bad.sql"), std::string::npos) << error.description;
  EXPECT_NE(error.description.find("no such table: nosuch"), std::string::npos) << error.description;
  EXPECT_FALSE(std::filesystem::exists(path_));
  EXPECT_FALSE(std::filesystem::exists(path_ + "-journal"));

  // The name is free again for a good attempt.
  CreateRepository(path_, {good});
  EXPECT_TRUE(std::filesystem::exists(path_));
}

TEST_F(CreateRepositoryTest, MissingScriptCreatesNothing) {
  EXPECT_EQ(RaisedNumber([&] { CreateRepository(path_, {folder_.File("none.sql")}); }), kErrFileNotFound);
  EXPECT_FALSE(std::filesystem::exists(path_));
}

}  // namespace
}  // namespace tqlm
