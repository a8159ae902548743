#include "platform/filesystem.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "support/test_support.h"

namespace tqlm {
namespace {

namespace stdfs = std::filesystem;

using test_support::RaisedNumber;
using test_support::ReadBytes;
using test_support::TempFolder;
using test_support::WriteBytes;

class FileSystem : public testing::Test {
 protected:
  std::string At(const std::string& relative) const { return folder_.File(relative); }

  TempFolder folder_;
};

TEST_F(FileSystem, ExistenceTellsFilesFromFolders) {
  WriteBytes(At("file"), "x");
  EXPECT_TRUE(fs::FolderExists(folder_.Path()));
  EXPECT_TRUE(fs::FileExists(At("file")));
  EXPECT_FALSE(fs::FolderExists(At("file")));
  EXPECT_FALSE(fs::FileExists(folder_.Path()));
  EXPECT_FALSE(fs::FileExists(At("none")));
  EXPECT_FALSE(fs::FolderExists(At("none")));
  EXPECT_FALSE(fs::FileExists(At("file") + std::string(1, '\0') + "x"));
}

TEST_F(FileSystem, CreateFolderMakesOneLevel) {
  fs::CreateFolder(At("one"));
  EXPECT_TRUE(stdfs::is_directory(At("one")));
  EXPECT_EQ(RaisedNumber([&] { fs::CreateFolder(At("one")); }), 58);
  EXPECT_EQ(RaisedNumber([&] { fs::CreateFolder(At("two/three")); }), 76);
  EXPECT_FALSE(stdfs::exists(At("two")));
}

TEST_F(FileSystem, DeleteFileOnlyDeletesFiles) {
  WriteBytes(At("file"), "x");
  fs::DeleteFile(At("file"));
  EXPECT_FALSE(stdfs::exists(At("file")));
  EXPECT_EQ(RaisedNumber([&] { fs::DeleteFile(At("file")); }), 53);
  EXPECT_EQ(RaisedNumber([&] { fs::DeleteFile(At("none/file")); }), 53);
  stdfs::create_directory(At("folder"));
  EXPECT_EQ(RaisedNumber([&] { fs::DeleteFile(At("folder")); }), 53);
  EXPECT_TRUE(stdfs::is_directory(At("folder")));

  // Deleting without force leaves a read-only file in place.
  WriteBytes(At("kept"), "x");
  stdfs::permissions(At("kept"), stdfs::perms::owner_read);
  EXPECT_EQ(RaisedNumber([&] { fs::DeleteFile(At("kept")); }), 70);
  EXPECT_TRUE(stdfs::exists(At("kept")));
}

TEST_F(FileSystem, WriteFileWritesExactBytesOverALongerFile) {
  WriteBytes(At("out"), std::string(100, 'z'));
  const std::string bytes("a\r\nb\n\0\xFF\xE9", 8);
  fs::WriteFile(At("out"), bytes);
  EXPECT_EQ(ReadBytes(At("out")), bytes);
  fs::WriteFile(At("empty"), "");
  EXPECT_TRUE(stdfs::is_regular_file(At("empty")));
  EXPECT_EQ(stdfs::file_size(At("empty")), 0u);
}

TEST_F(FileSystem, WriteFileErrors) {
  EXPECT_EQ(RaisedNumber([&] { fs::WriteFile(At("none/out"), "x"); }), 76);
  EXPECT_EQ(RaisedNumber([&] { fs::WriteFile(folder_.Path(), "x"); }), 75);
  EXPECT_EQ(RaisedNumber([&] { fs::WriteFile(At("out") + std::string(1, '\0'), "x"); }), 75);
}

TEST_F(FileSystem, AccessDeniedIs70) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the super-user";
  stdfs::create_directories(At("locked/inner"));
  WriteBytes(At("locked/file"), "x");
  stdfs::permissions(At("locked"), stdfs::perms::owner_read | stdfs::perms::owner_exec);
  EXPECT_EQ(RaisedNumber([&] { fs::WriteFile(At("locked/out"), "x"); }), 70);
  EXPECT_EQ(RaisedNumber([&] { fs::CreateFolder(At("locked/sub")); }), 70);
  EXPECT_EQ(RaisedNumber([&] { fs::DeleteFile(At("locked/file")); }), 70);
  // The folder that holds the one to delete is not ours to change.
  EXPECT_EQ(RaisedNumber([&] { fs::DeleteFolder(At("locked/inner")); }), 70);
  EXPECT_TRUE(stdfs::is_directory(At("locked/inner")));
}

TEST_F(FileSystem, NamesAreWindows1252) {
  fs::WriteFile(At("\xE9"), "x");
  EXPECT_EQ(ReadBytes(At("\xC3\xA9")), "x");
  EXPECT_TRUE(fs::FileExists(At("\xE9")));
  fs::CreateFolder(At("d\xE9"));
  EXPECT_TRUE(stdfs::is_directory(At("d\xC3\xA9")));
}

TEST_F(FileSystem, DeleteFolderRemovesEverythingBelow) {
  stdfs::create_directories(At("top/a/b"));
  WriteBytes(At("top/a/b/file"), "x");
  WriteBytes(At("top/read-only"), "x");
  stdfs::permissions(At("top/read-only"), stdfs::perms::owner_read);
  stdfs::permissions(At("top/a/b"), stdfs::perms::owner_read | stdfs::perms::owner_exec);
  fs::DeleteFolder(At("top/"));
  EXPECT_FALSE(stdfs::exists(At("top")));
  EXPECT_EQ(RaisedNumber([&] { fs::DeleteFolder(At("top")); }), 76);
  WriteBytes(At("file"), "x");
  EXPECT_EQ(RaisedNumber([&] { fs::DeleteFolder(At("file")); }), 76);
}

TEST_F(FileSystem, DeleteFolderDoesNotFollowLinks) {
  stdfs::create_directories(At("outside"));
  WriteBytes(At("outside/keep"), "x");
  stdfs::create_directories(At("top"));
  stdfs::create_directory_symlink(At("outside"), At("top/link"));
  stdfs::create_directory_symlink(At("outside"), At("alias"));
  fs::DeleteFolder(At("top"));
  fs::DeleteFolder(At("alias/"));
  EXPECT_FALSE(stdfs::exists(At("top")));
  EXPECT_FALSE(stdfs::exists(stdfs::symlink_status(At("alias"))));
  EXPECT_TRUE(stdfs::exists(At("outside/keep")));
}

TEST(ChildPath, JoinsSafeNamesOnly) {
  EXPECT_EQ(fs::ChildPath("out", "x.XML"), "out/x.XML");
  EXPECT_EQ(fs::ChildPath("/a/b", ".hidden"), "/a/b/.hidden");
  for (std::string_view bad : {"", "..", "a..b", "a/b", "/", "a\\b", "..\\x"}) {
    EXPECT_EQ(RaisedNumber([&] { fs::ChildPath("out", bad); }), 75) << bad;
  }
  EXPECT_EQ(RaisedNumber([] { fs::ChildPath("out", std::string_view("a\0b", 3)); }), 75);
  EXPECT_EQ(RaisedNumber([] { fs::ChildPath("", "x"); }), 76);
}

}  // namespace
}  // namespace tqlm

namespace tqlm {
namespace {

TEST(FileSystemSafety, DeleteFolderRefusesTheWorkingFolderItsParentsAndTheRoot) {
  test_support::TempFolder folder;
  std::filesystem::create_directories(folder.File("work"));
  const std::string inner = folder.Write("work/keep.txt", "keep");
  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(std::filesystem::path(inner).parent_path());
  const int here = test_support::RaisedNumber([] { fs::DeleteFolder("."); });
  const int parent = test_support::RaisedNumber([] { fs::DeleteFolder(".."); });
  const int root = test_support::RaisedNumber([] { fs::DeleteFolder("/"); });
  std::filesystem::current_path(previous);
  EXPECT_EQ(here, kErrPathFileAccess);
  EXPECT_EQ(parent, kErrPathFileAccess);
  EXPECT_EQ(root, kErrPathFileAccess);
  EXPECT_TRUE(std::filesystem::exists(inner));
}

}  // namespace
}  // namespace tqlm
