#include "platform/filesystem.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "platform/error.h"

namespace tqlm {
namespace {

namespace stdfs = std::filesystem;

std::int32_t ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Raised& raised) {
    return raised.error().number;
  }
  return 0;
}

std::string ReadBytes(const stdfs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class FileSystem : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = testing::TempDir() + "filesystem_XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
  }
  void TearDown() override {
    // Give back any permission a test took away, so the folder can go.
    std::error_code ignored;
    for (auto it = stdfs::recursive_directory_iterator(root_, ignored); it != stdfs::recursive_directory_iterator();
         it.increment(ignored)) {
      stdfs::permissions(it->path(), stdfs::perms::owner_all, stdfs::perm_options::add, ignored);
    }
    stdfs::remove_all(root_, ignored);
  }
  std::string At(const std::string& relative) const { return (root_ / relative).string(); }

  stdfs::path root_;
};

TEST_F(FileSystem, ExistenceTellsFilesFromFolders) {
  std::ofstream(At("file")) << "x";
  EXPECT_TRUE(fs::FolderExists(root_.string()));
  EXPECT_TRUE(fs::FileExists(At("file")));
  EXPECT_FALSE(fs::FolderExists(At("file")));
  EXPECT_FALSE(fs::FileExists(root_.string()));
  EXPECT_FALSE(fs::FileExists(At("none")));
  EXPECT_FALSE(fs::FolderExists(At("none")));
  EXPECT_FALSE(fs::FileExists(At("file") + std::string(1, '\0') + "x"));
}

TEST_F(FileSystem, CreateFolderMakesOneLevel) {
  fs::CreateFolder(At("one"));
  EXPECT_TRUE(stdfs::is_directory(At("one")));
  EXPECT_EQ(ErrorOf([&] { fs::CreateFolder(At("one")); }), 58);
  EXPECT_EQ(ErrorOf([&] { fs::CreateFolder(At("two/three")); }), 76);
  EXPECT_FALSE(stdfs::exists(At("two")));
}

TEST_F(FileSystem, DeleteFileOnlyDeletesFiles) {
  std::ofstream(At("file")) << "x";
  fs::DeleteFile(At("file"));
  EXPECT_FALSE(stdfs::exists(At("file")));
  EXPECT_EQ(ErrorOf([&] { fs::DeleteFile(At("file")); }), 53);
  EXPECT_EQ(ErrorOf([&] { fs::DeleteFile(At("none/file")); }), 53);
  stdfs::create_directory(At("folder"));
  EXPECT_EQ(ErrorOf([&] { fs::DeleteFile(At("folder")); }), 53);
  EXPECT_TRUE(stdfs::is_directory(At("folder")));

  // Deleting without force leaves a read-only file in place.
  std::ofstream(At("kept")) << "x";
  stdfs::permissions(At("kept"), stdfs::perms::owner_read);
  EXPECT_EQ(ErrorOf([&] { fs::DeleteFile(At("kept")); }), 70);
  EXPECT_TRUE(stdfs::exists(At("kept")));
}

TEST_F(FileSystem, WriteFileWritesExactBytesOverALongerFile) {
  std::ofstream(At("out"), std::ios::binary) << std::string(100, 'z');
  const std::string bytes("a\r\nb\n\0\xFF\xE9", 8);
  fs::WriteFile(At("out"), bytes);
  EXPECT_EQ(ReadBytes(At("out")), bytes);
  fs::WriteFile(At("empty"), "");
  EXPECT_TRUE(stdfs::is_regular_file(At("empty")));
  EXPECT_EQ(stdfs::file_size(At("empty")), 0u);
}

TEST_F(FileSystem, WriteFileErrors) {
  EXPECT_EQ(ErrorOf([&] { fs::WriteFile(At("none/out"), "x"); }), 76);
  EXPECT_EQ(ErrorOf([&] { fs::WriteFile(root_.string(), "x"); }), 75);
  EXPECT_EQ(ErrorOf([&] { fs::WriteFile(At("out") + std::string(1, '\0'), "x"); }), 75);
}

TEST_F(FileSystem, AccessDeniedIs70) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind the super-user";
  stdfs::create_directories(At("locked/inner"));
  std::ofstream(At("locked/file")) << "x";
  stdfs::permissions(At("locked"), stdfs::perms::owner_read | stdfs::perms::owner_exec);
  EXPECT_EQ(ErrorOf([&] { fs::WriteFile(At("locked/out"), "x"); }), 70);
  EXPECT_EQ(ErrorOf([&] { fs::CreateFolder(At("locked/sub")); }), 70);
  EXPECT_EQ(ErrorOf([&] { fs::DeleteFile(At("locked/file")); }), 70);
  // The folder that holds the one to delete is not ours to change.
  EXPECT_EQ(ErrorOf([&] { fs::DeleteFolder(At("locked/inner")); }), 70);
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
  std::ofstream(At("top/a/b/file")) << "x";
  std::ofstream(At("top/read-only")) << "x";
  stdfs::permissions(At("top/read-only"), stdfs::perms::owner_read);
  stdfs::permissions(At("top/a/b"), stdfs::perms::owner_read | stdfs::perms::owner_exec);
  fs::DeleteFolder(At("top/"));
  EXPECT_FALSE(stdfs::exists(At("top")));
  EXPECT_EQ(ErrorOf([&] { fs::DeleteFolder(At("top")); }), 76);
  std::ofstream(At("file")) << "x";
  EXPECT_EQ(ErrorOf([&] { fs::DeleteFolder(At("file")); }), 76);
}

TEST_F(FileSystem, DeleteFolderDoesNotFollowLinks) {
  stdfs::create_directories(At("outside"));
  std::ofstream(At("outside/keep")) << "x";
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
    EXPECT_EQ(ErrorOf([&] { fs::ChildPath("out", bad); }), 75) << bad;
  }
  EXPECT_EQ(ErrorOf([] { fs::ChildPath("out", std::string_view("a\0b", 3)); }), 75);
  EXPECT_EQ(ErrorOf([] { fs::ChildPath("", "x"); }), 76);
}

}  // namespace
}  // namespace tqlm
