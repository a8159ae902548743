// Helpers shared by the repository tests: a private temporary folder, files
// written byte for byte, and the error number behind a failing call.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "platform/error.h"

namespace tqlm::testing_support {

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = ::testing::TempDir() + "/tqlm_repo_XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "mkdtemp failed";
    path_ = pattern;
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }

  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The error a call raised; number 0 when it raised none.
inline VbError ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const Raised& raised) {
    return raised.error();
  }
  return VbError{};
}

}  // namespace tqlm::testing_support
