#include "repository/schema.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/error.h"
#include "repository/connection.h"
#include "repository_test_support.h"

namespace tqlm {
namespace {

using testing_support::ErrorOf;
using testing_support::ReadBytes;
using testing_support::TempFolder;
using testing_support::WriteBytes;

TEST(CreateRepositoryTest, BuildsSchemaAndRunsScriptsInOrder) {
  TempFolder folder;
  WriteBytes(folder.File("a.sql"), "INSERT INTO qxlgy115 VALUES ('C', '1', 'one');");
  WriteBytes(folder.File("b.sql"), "UPDATE qxlgy115 SET oval = oval || '!';");
  const std::string path = folder.File("repo.db");
  CreateRepository(path, {folder.File("a.sql"), folder.File("b.sql")});

  Repository repository;
  repository.SetConnectionString(path);
  EXPECT_EQ(repository.Open("select oval from qxlgy115").Field(0).AsText(), "one!");
  EXPECT_EQ(repository.Open("select count(*) from qxlib100").Field(0).AsText(), "0");
}

TEST(CreateRepositoryTest, RefusesAnExistingFile) {
  TempFolder folder;
  const std::string path = folder.File("repo.db");
  WriteBytes(path, "keep me");
  EXPECT_EQ(ErrorOf([&] { CreateRepository(path); }).number, kErrFileExists);
  EXPECT_EQ(ReadBytes(path), "keep me");
}

TEST(CreateRepositoryTest, FailingScriptLeavesNoFile) {
  TempFolder folder;
  WriteBytes(folder.File("good.sql"), "INSERT INTO qxlgy115 VALUES ('C', '1', 'one');");
  WriteBytes(folder.File("bad.sql"), "INSERT INTO qxlgy115 VALUES ('C', '2', 'two');\nINSERT INTO nosuch VALUES (1);");
  const std::string path = folder.File("repo.db");

  VbError error = ErrorOf([&] { CreateRepository(path, {folder.File("good.sql"), folder.File("bad.sql")}); });
  EXPECT_EQ(error.number, kErrRepository);
  EXPECT_NE(error.description.find("bad.sql"), std::string::npos) << error.description;
  EXPECT_NE(error.description.find("no such table: nosuch"), std::string::npos) << error.description;
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_FALSE(std::filesystem::exists(path + "-journal"));

  // The name is free again for a good attempt.
  CreateRepository(path, {folder.File("good.sql")});
  EXPECT_TRUE(std::filesystem::exists(path));
}

TEST(CreateRepositoryTest, MissingScriptCreatesNothing) {
  TempFolder folder;
  const std::string path = folder.File("repo.db");
  EXPECT_EQ(ErrorOf([&] { CreateRepository(path, {folder.File("none.sql")}); }).number, kErrFileNotFound);
  EXPECT_FALSE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace tqlm
