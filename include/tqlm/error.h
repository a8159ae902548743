// Automation-style errors: a number, a source and a description. A property
// that refuses its value, and a file the component cannot write, raise one.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace tqlm {

struct VbError {
  std::int32_t number = 0;
  std::string source;
  std::string description;  // Windows-1252
};

class Raised : public std::exception {
 public:
  explicit Raised(VbError error);
  const VbError& error() const { return error_; }
  const char* what() const noexcept override { return error_.description.c_str(); }

 private:
  VbError error_;
};

}  // namespace tqlm
