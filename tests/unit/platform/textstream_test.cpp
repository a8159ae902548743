#include "platform/textstream.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/test_support.h"

namespace tqlm {
namespace {

using test_support::RaisedNumber;
using test_support::ReadBytes;
using test_support::TempFolder;
using test_support::WriteBytes;

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
  EXPECT_EQ(RaisedNumber([&] { bad.WriteLine("x"); }), 75);
  std::fclose(read_only);
}

TEST(TextStreamFiles, FileGetsExactlyTheBytesWritten) {
  TempFolder folder;
  const std::string path = folder.File("log.txt");
  WriteBytes(path, "an older, longer content\n\n\n");
  {
    auto stream = CreateTextFile(path);
    stream->WriteLine("line\n");
    stream->Write(std::string_view("\xFF\0", 2));
  }  // closing the stream flushes it
  EXPECT_EQ(ReadBytes(path), std::string("line\n\r\n\xFF\0", 9));
}

TEST(TextStreamFiles, NameIsWindows1252) {
  TempFolder folder;
  CreateTextFile(folder.File("caf\xE9.txt"))->Write("x");
  EXPECT_EQ(ReadBytes(folder.File("caf\xC3\xA9.txt")), "x");
}

TEST(TextStreamFiles, ErrorsOnCreation) {
  TempFolder folder;
  EXPECT_EQ(RaisedNumber([&] { CreateTextFile(folder.File("missing/log.txt")); }), 76);
  EXPECT_EQ(RaisedNumber([&] { CreateTextFile(folder.Path()); }), 75);  // a folder, not a file
}

}  // namespace
}  // namespace tqlm
