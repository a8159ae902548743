#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/error.h"
#include "repository/connection.h"
#include "repository/schema.h"
#include "support/test_support.h"

namespace tqlm {
namespace {

using test_support::ErrorOf;
using test_support::ReadBytes;

TEST(CreateRepository, BuildsTheSchemaRunsScriptsInOrderAndRefusesAnExistingFile) {
  test_support::TempFolder folder;
  const std::string path = folder.File("repo.db");
  CreateRepository(path, {folder.Write("a.sql", "INSERT INTO qxlgy115 VALUES ('C', '1', 'one');"),
                          folder.Write("b.sql", "UPDATE qxlgy115 SET oval = oval || '!';")});
  Repository repository;
  repository.SetConnectionString(path);
  EXPECT_EQ(repository.Open("select oval from qxlgy115").Field(0).AsText(), "one!");
  EXPECT_EQ(repository.Open("select count(*) from qxlib100").Field(0).AsText(), "0");
  repository.Disconnect();

  const std::string before = ReadBytes(path);
  EXPECT_EQ(ErrorOf([&] { CreateRepository(path); }).number, kErrFileExists);
  EXPECT_EQ(ReadBytes(path), before);
}

TEST(CreateRepository, AFailingOrMissingScriptLeavesNoFile) {
  test_support::TempFolder folder;
  const std::string path = folder.File("repo.db");
  const std::string good = folder.Write("good.sql", "INSERT INTO qxlgy115 VALUES ('C', '1', 'one');");
  const std::string bad =
      folder.Write("bad.sql", "INSERT INTO qxlgy115 VALUES ('C', '2', 'two');\nINSERT INTO nosuch VALUES (1);");
  VbError error = ErrorOf([&] { CreateRepository(path, {good, bad}); });
  EXPECT_EQ(error.number, kErrRepository);
  EXPECT_NE(error.description.find("bad.sql"), std::string::npos) << error.description;
  EXPECT_NE(error.description.find("no such table: nosuch"), std::string::npos) << error.description;
  EXPECT_EQ(ErrorOf([&] { CreateRepository(path, {good, folder.File("none.sql")}); }).number, kErrFileNotFound);
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_FALSE(std::filesystem::exists(path + "-journal"));

  CreateRepository(path, {good});  // the name is free again for a good attempt
  EXPECT_TRUE(std::filesystem::exists(path));
}

}  // namespace
}  // namespace tqlm
