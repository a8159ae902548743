// Stand-in for the scripting runtime's TextStream: the log stream a client
// hands to the component. Line ends are CR LF; bytes go out as they are.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace tqlm {

class TextStream {
 public:
  virtual ~TextStream() = default;
  void Write(std::string_view text) { Put(text); }
  void WriteLine(std::string_view text = {});   // text + CR LF
  void WriteBlankLines(long lines);             // lines x CR LF
  // Ends the writing: a file written under a temporary name takes its
  // final name now (a stream that goes without Close leaves no file).
  virtual void Close() {}

 protected:
  virtual void Put(std::string_view bytes) = 0;  // raises 75 on failure
};

// Collects everything written; used by tests and by callers that want the log
// as text.
class StringTextStream final : public TextStream {
 public:
  const std::string& text() const { return text_; }
  // What was written since the last Take.
  std::string Take() { return std::exchange(text_, {}); }

 protected:
  void Put(std::string_view bytes) override { text_.append(bytes); }

 private:
  std::string text_;
};

// Takes everything and keeps nothing.
class NullTextStream final : public TextStream {
 protected:
  void Put(std::string_view) override {}
};

// Writes to a C stream that it does not own (standard output, say).
class StdioTextStream final : public TextStream {
 public:
  explicit StdioTextStream(std::FILE* stream) : stream_(stream) {}

 protected:
  void Put(std::string_view bytes) override;

 private:
  std::FILE* stream_;
};

struct TextFileOptions {
  bool ownerOnly = false;  // readable and writable by its owner alone
  // Written under a temporary name that takes the final name at Close, so
  // the final name never holds a partial file (side files); otherwise the
  // file is created at once and grows as it is written (a log).
  bool atomic = false;
};

// Creates or truncates a file (name in Windows-1252) and writes to it.
// Raises 76 when the folder is missing, 70 when access is denied; a write
// on a full disk raises 61.
std::unique_ptr<TextStream> CreateTextFile(const std::string& path, TextFileOptions options = {});

}  // namespace tqlm
