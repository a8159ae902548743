// Files, folders and text streams on the host file system.

#include "platform/filesystem.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include <tqlm/textstream.h>
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
  void AccessDeniedChecks();

  TempFolder folder_;
};

TEST_F(FileSystem, FilesAndFoldersAreToldApartAndNamesAreWindows1252) {
  WriteBytes(At("file"), "x");
  EXPECT_FALSE(fs::FolderExists(At("file")));
  EXPECT_FALSE(fs::FileExists(folder_.Path()));
  EXPECT_FALSE(fs::FileExists(At("file") + std::string(1, '\0') + "x"));
  fs::WriteFile(At("\xE9"), "x");
  EXPECT_EQ(ReadBytes(At("\xC3\xA9")), "x");
  EXPECT_TRUE(fs::FileExists(At("\xE9")));
  fs::CreateFolder(At("d\xE9"));
  EXPECT_TRUE(stdfs::is_directory(At("d\xC3\xA9")));
}

TEST_F(FileSystem, CreateAndDeleteErrors) {
  fs::CreateFolder(At("one"));
  EXPECT_EQ(RaisedNumber([&] { fs::CreateFolder(At("one")); }), 58);
  EXPECT_EQ(RaisedNumber([&] { fs::CreateFolder(At("two/three")); }), 76);  // one level only
  EXPECT_FALSE(stdfs::exists(At("two")));

  WriteBytes(At("file"), "x");
  fs::DeleteFile(At("file"));
  EXPECT_EQ(RaisedNumber([&] { fs::DeleteFile(At("file")); }), 53);
  EXPECT_EQ(RaisedNumber([&] { fs::DeleteFile(At("none/file")); }), 53);
  EXPECT_EQ(RaisedNumber([&] { fs::DeleteFile(At("one")); }), 53);
  EXPECT_TRUE(stdfs::is_directory(At("one")));
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
  EXPECT_EQ(stdfs::file_size(At("empty")), 0u);
  EXPECT_EQ(RaisedNumber([&] { fs::WriteFile(At("none/out"), "x"); }), 76);
  EXPECT_EQ(RaisedNumber([&] { fs::WriteFile(folder_.Path(), "x"); }), 75);
  EXPECT_EQ(RaisedNumber([&] { fs::WriteFile(At("out") + std::string(1, '\0'), "x"); }), 75);
}

// Permissions do not bind the super-user: run as root, the checks run in a
// child process as the user nobody, in a folder it owns.
void AsUnprivileged(const std::string& folder, const std::function<void()>& checks) {
  if (geteuid() != 0) return checks();
  constexpr uid_t kNobody = 65534;
  ASSERT_EQ(chown(folder.c_str(), kNobody, kNobody), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0) _exit(2);
    checks();
    _exit(testing::Test::HasFailure() ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the checks failed as the user nobody (2: could not become it)";
}

TEST_F(FileSystem, AccessDeniedIs70) {
  AsUnprivileged(folder_.Path(), [&] { AccessDeniedChecks(); });
}

void FileSystem::AccessDeniedChecks() {
  stdfs::create_directories(At("locked/inner"));
  WriteBytes(At("locked/file"), "x");
  stdfs::permissions(At("locked"), stdfs::perms::owner_read | stdfs::perms::owner_exec);
  EXPECT_EQ(RaisedNumber([&] { fs::WriteFile(At("locked/out"), "x"); }), 70);
  EXPECT_EQ(RaisedNumber([&] { fs::CreateFolder(At("locked/sub")); }), 70);
  EXPECT_EQ(RaisedNumber([&] { fs::DeleteFile(At("locked/file")); }), 70);
  // A folder whose entries may not go is refused and keeps its mode.
  EXPECT_EQ(RaisedNumber([&] { fs::EmptyFolder(At("locked")); }), 70);
  EXPECT_TRUE(stdfs::exists(At("locked/file")));
  EXPECT_EQ(stdfs::status(At("locked")).permissions(), stdfs::perms::owner_read | stdfs::perms::owner_exec);
}

TEST_F(FileSystem, EmptyFolderRemovesEverythingBelowButFollowsNoLinks) {
  stdfs::create_directories(At("top/a/b"));
  WriteBytes(At("top/a/b/file"), "x");
  WriteBytes(At("top/read-only"), "x");
  stdfs::permissions(At("top/read-only"), stdfs::perms::owner_read);
  stdfs::permissions(At("top/a/b"), stdfs::perms::owner_read | stdfs::perms::owner_exec);
  stdfs::create_directories(At("outside"));
  WriteBytes(At("outside/keep"), "x");
  stdfs::create_directory_symlink(At("outside"), At("top/link"));
  stdfs::create_directory_symlink(At("outside"), At("alias"));
  const auto inode = stdfs::status(At("top")).permissions();
  fs::EmptyFolder(At("top/"));
  fs::EmptyFolder(At("alias/"));
  EXPECT_TRUE(stdfs::is_empty(At("top")));
  EXPECT_EQ(stdfs::status(At("top")).permissions(), inode);
  // A link to a folder becomes an empty folder of its own.
  EXPECT_TRUE(stdfs::is_directory(stdfs::symlink_status(At("alias"))));
  EXPECT_TRUE(stdfs::is_empty(At("alias")));
  EXPECT_TRUE(stdfs::exists(At("outside/keep")));
  EXPECT_EQ(RaisedNumber([&] { fs::EmptyFolder(At("none")); }), 76);
  EXPECT_EQ(RaisedNumber([&] { fs::EmptyFolder(At("outside/keep")); }), 76);
}

TEST_F(FileSystem, ProtectedFoldersAreTheRootTheHomeAndTheWorkingFolderWithTheirParents) {
  stdfs::create_directories(At("work/sub"));
  const std::string inner = folder_.Write("work/keep.txt", "keep");
  const stdfs::path previous = stdfs::current_path();
  stdfs::current_path(At("work"));
  const bool here = fs::IsProtectedFolder(".");
  const bool parent = fs::IsProtectedFolder("..");
  const bool below = fs::IsProtectedFolder("sub");
  const int refused = RaisedNumber([] { fs::EmptyFolder("."); });
  stdfs::current_path(previous);
  EXPECT_TRUE(here);
  EXPECT_TRUE(parent);
  EXPECT_FALSE(below);
  EXPECT_EQ(refused, kErrPathFileAccess);
  EXPECT_TRUE(stdfs::exists(inner));
  EXPECT_TRUE(fs::IsProtectedFolder("/"));
  EXPECT_TRUE(fs::IsProtectedFolder(stdfs::path(getenv("HOME") ? getenv("HOME") : "/").parent_path().string()));
  EXPECT_TRUE(fs::Encloses(At("work"), At("work/sub/not-yet")));
  EXPECT_FALSE(fs::Encloses(At("work/sub"), At("work")));
}

TEST_F(FileSystem, WritesLeaveNoPartialFileAndTheLockIsExclusive) {
  // A failing write keeps the old file whole and leaves no temporary file.
  WriteBytes(At("doc"), "old");
  stdfs::permissions(At("doc"), stdfs::perms::owner_read);
  EXPECT_EQ(RaisedNumber([&] { fs::WriteFile(At("doc"), "new"); }), 70);
  EXPECT_EQ(ReadBytes(At("doc")), "old");
  {
    auto stream = CreateTextFile(At("side.ini"), {.atomic = true});
    stream->WriteLine("half");
  }  // gone without Close: nothing under the final name
  EXPECT_FALSE(stdfs::exists(At("side.ini")));
  auto stream = CreateTextFile(At("side.ini"), {.ownerOnly = true, .atomic = true});
  stream->WriteLine("whole");
  stream->Close();
  EXPECT_EQ(ReadBytes(At("side.ini")), "whole\r\n");
  EXPECT_EQ(stdfs::status(At("side.ini")).permissions(), stdfs::perms::owner_read | stdfs::perms::owner_write);
  for (const auto& entry : stdfs::directory_iterator(folder_.Path()))
    EXPECT_FALSE(fs::IsTemporaryName(entry.path().filename().string())) << entry.path();
  // Temporary files a killed run left are swept, one folder level deep; a
  // running process's (this one's) stay, as they may yet take their names.
  stdfs::create_directories(At("obj"));
  std::ifstream pidMax("/proc/sys/kernel/pid_max");  // never a process's number
  std::string dead;
  pidMax >> dead;
  const std::string left = At("obj/.~tqlm-" + dead + "-1.tmp"), running = fs::TemporaryPath(At("obj/x"));
  WriteBytes(left, "partial");
  WriteBytes(running, "partial");
  fs::RemoveTemporaryFiles(folder_.Path());
  EXPECT_FALSE(stdfs::exists(left));
  EXPECT_TRUE(stdfs::exists(running));

  fs::FolderLock first, second;
  first.Acquire(folder_.Path(), false);
  EXPECT_EQ(RaisedNumber([&] { second.Acquire(folder_.Path(), false); }), 70);
  EXPECT_FALSE(second.Held());
}

TEST(ChildPath, JoinsSafeNamesOnly) {
  EXPECT_EQ(fs::ChildPath("out", "x.XML"), "out/x.XML");
  EXPECT_EQ(fs::ChildPath("/a/b", ".hidden"), "/a/b/.hidden");
  for (std::string_view bad :
       std::initializer_list<std::string_view>{"", "..", "a..b", "a/b", "/", "a\\b", "..\\x", {"a\0b", 3}}) {
    EXPECT_EQ(RaisedNumber([&] { fs::ChildPath("out", bad); }), 75) << bad;
  }
  EXPECT_EQ(RaisedNumber([] { fs::ChildPath("", "x"); }), 76);
}

TEST(TextStream, LinesEndInCrLfAFailedWriteIs75AndAFullDisk61) {
  StringTextStream stream;
  stream.Write("a");
  stream.WriteLine("b");
  stream.WriteLine();
  stream.WriteBlankLines(2);
  stream.WriteBlankLines(0);
  stream.Write(std::string_view("\0\xE9", 2));
  EXPECT_EQ(stream.text(), std::string("ab\r\n\r\n\r\n\r\n\0\xE9", 12));
  std::FILE* read_only = std::fopen("/dev/null", "rb");
  ASSERT_NE(read_only, nullptr);
  StdioTextStream bad(read_only);
  EXPECT_EQ(RaisedNumber([&] { bad.WriteLine("x"); }), 75);
  std::fclose(read_only);
  std::FILE* full = std::fopen("/dev/full", "wb");
  if (full == nullptr) GTEST_SKIP() << "no /dev/full";
  std::setvbuf(full, nullptr, _IONBF, 0);
  StdioTextStream onFullDisk(full);
  EXPECT_EQ(RaisedNumber([&] { onFullDisk.WriteLine("x"); }), kErrDiskFull);
  std::fclose(full);
}

TEST_F(FileSystem, ATextFileGetsExactlyTheBytesWrittenUnderAWindows1252Name) {
  const std::string path = folder_.Write("caf\xC3\xA9.txt", "an older, longer content\n\n\n");
  {
    auto stream = CreateTextFile(folder_.File("caf\xE9.txt"));
    stream->WriteLine("line\n");
    stream->Write(std::string_view("\xFF\0", 2));
  }  // closing the stream flushes it
  EXPECT_EQ(ReadBytes(path), std::string("line\n\r\n\xFF\0", 9));
  EXPECT_EQ(RaisedNumber([&] { CreateTextFile(folder_.File("missing/log.txt")); }), 76);
  EXPECT_EQ(RaisedNumber([&] { CreateTextFile(folder_.Path()); }), 75);  // a folder, not a file
}

}  // namespace
}  // namespace tqlm
