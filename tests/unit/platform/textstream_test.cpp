#include "platform/textstream.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/error.h"

namespace tqlm {
namespace {

namespace stdfs = std::filesystem;

std::string ReadBytes(const stdfs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::int32_t ErrorOf(void (*action)(const std::string&), const std::string& argument) {
  try {
    action(argument);
  } catch (const Raised& raised) {
    return raised.error().number;
  }
  return 0;
}

class TextStreamFiles : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = testing::TempDir() + "textstream_XXXXXX";
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { stdfs::remove_all(folder_); }

  stdfs::path folder_;
};

TEST(TextStream, LinesEndInCrLf) {
  StringTextStream stream;
  stream.Write("a");
  stream.WriteLine("b");
  stream.WriteLine();
  stream.WriteBlankLines(2);
  stream.WriteBlankLines(0);
  stream.Write(std::string_view("\0\xE9", 2));
  EXPECT_EQ(stream.text(), std::string("ab\r\n\r\n\r\n\r\n\0\xE9", 12));
}

TEST(TextStream, StdioStreamReportsAFailedWriteAs75) {
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  StdioTextStream good(file);
  good.WriteLine("x");
  std::rewind(file);
  char read[4] = {};
  EXPECT_EQ(std::fread(read, 1, sizeof read, file), 3u);
  EXPECT_EQ(std::string(read, 3), "x\r\n");
  std::fclose(file);

  std::FILE* read_only = std::fopen("/dev/null", "rb");
  ASSERT_NE(read_only, nullptr);
  StdioTextStream bad(read_only);
  try {
    bad.WriteLine("x");
    ADD_FAILURE() << "no error raised";
  } catch (const Raised& raised) {
    EXPECT_EQ(raised.error().number, 75);
  }
  std::fclose(read_only);
}

TEST_F(TextStreamFiles, FileGetsExactlyTheBytesWritten) {
  stdfs::path path = folder_ / "log.txt";
  {
    std::ofstream(path, std::ios::binary) << "an older, longer content\n\n\n";
  }
  {
    auto stream = CreateTextFile(path.string());
    stream->WriteLine("line\n");
    stream->Write(std::string_view("\xFF\0", 2));
  }  // closing the stream flushes it
  EXPECT_EQ(ReadBytes(path), std::string("line\n\r\n\xFF\0", 9));
}

TEST_F(TextStreamFiles, NameIsWindows1252) {
  CreateTextFile((folder_ / "caf\xE9.txt").string())->Write("x");
  EXPECT_EQ(ReadBytes(folder_ / "caf\xC3\xA9.txt"), "x");
}

TEST_F(TextStreamFiles, ErrorsOnCreation) {
  auto create = [](const std::string& path) { CreateTextFile(path); };
  EXPECT_EQ(ErrorOf(create, (folder_ / "missing" / "log.txt").string()), 76);
  EXPECT_EQ(ErrorOf(create, folder_.string()), 75);  // a folder, not a file
}

}  // namespace
}  // namespace tqlm
