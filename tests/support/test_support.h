// Helpers shared by the unit tests: a private temporary folder, files written
// and read byte for byte, and the error behind a failing call. Depends on the
// platform layer only, so every layer's tests can use it.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <string>

#include "platform/error.h"

namespace tqlm::test_support {

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
  if (!out) ADD_FAILURE() << "cannot write " << path;
}

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) ADD_FAILURE() << "cannot read " << path;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh folder under the test temporary directory, removed with all it
// holds when the object goes, even where a test took permissions away.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = ::testing::TempDir() + "tqlm_test_XXXXXX";
    // Throwing fails the test at once: going on without the folder would
    // write beside it.
    if (mkdtemp(pattern.data()) == nullptr) {
      throw std::runtime_error("mkdtemp " + pattern + ": " + std::strerror(errno));
    }
    path_ = pattern;
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() {
    namespace stdfs = std::filesystem;
    std::error_code ignored;
    for (auto it = stdfs::recursive_directory_iterator(path_, ignored); it != stdfs::recursive_directory_iterator();
         it.increment(ignored)) {
      // A link's permissions would be those of its target, which may lie
      // outside.
      if (it->is_symlink(ignored)) continue;
      stdfs::permissions(it->path(), stdfs::perms::owner_all, stdfs::perm_options::add, ignored);
    }
    stdfs::remove_all(path_, ignored);
  }

  // The folder itself.
  std::string Path() const { return path_.string(); }
  // A path inside the folder; `relative` may name sub-folders.
  std::string File(const std::string& relative) const { return (path_ / relative).string(); }
  // Writes a file inside the folder and gives its path.
  std::string Write(const std::string& relative, const std::string& bytes) const {
    std::string path = File(relative);
    WriteBytes(path, bytes);
    return path;
  }

 private:
  std::filesystem::path path_;
};

// The error a call raised; number 0 when it raised none.
inline VbError ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Raised& raised) {
    return raised.error();
  }
  return VbError{};
}

// The error number a call raised, 0 when it returned normally.
inline std::int32_t RaisedNumber(const std::function<void()>& action) { return ErrorOf(action).number; }

}  // namespace tqlm::test_support
