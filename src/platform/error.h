// Automation-style errors: a number, a source and a description.
//
// Procedures raise with Raise(); a procedure with its own error trap catches
// through CatchError() (see trap.h in the component) and turns the error into
// its log line. Any exception escaping foreign code is mapped to an error too,
// so a trap never lets anything through.
#pragma once

#include <cstdint>
#include <string>

#include <tqlm/error.h>

namespace tqlm {

// Numbers the platform raises itself.
inline constexpr std::int32_t kErrInvalidCall = 5;
inline constexpr std::int32_t kErrOverflow = 6;
inline constexpr std::int32_t kErrOutOfMemory = 7;
inline constexpr std::int32_t kErrSubscript = 9;
inline constexpr std::int32_t kErrTypeMismatch = 13;
inline constexpr std::int32_t kErrFileNotFound = 53;
inline constexpr std::int32_t kErrFileExists = 58;
inline constexpr std::int32_t kErrDiskFull = 61;
inline constexpr std::int32_t kErrPermission = 70;
inline constexpr std::int32_t kErrPathFileAccess = 75;
inline constexpr std::int32_t kErrPathNotFound = 76;
inline constexpr std::int32_t kErrObjectNotSet = 91;
inline constexpr std::int32_t kErrInvalidNull = 94;
inline constexpr std::int32_t kErrDuplicateKey = 457;
inline constexpr std::int32_t kErrNoCurrentRecord = 3021;
inline constexpr std::int32_t kErrItemNotFound = 3265;
inline constexpr std::int32_t kErrRepository = -2147217900;

inline constexpr const char* kDefaultErrorSource = "TQLM20XMLGenerator";

// The standard description of a platform error number; any other number
// reads "Application-defined or object-defined error".
std::string StandardDescription(std::int32_t number);

// Raises an error. An empty description takes the standard one, an empty
// source the component's name.
[[noreturn]] void Raise(std::int32_t number, std::string source = {}, std::string description = {});

// Error numbers in text: decimal, with a leading blank when not negative
// (" 76", "-2147217900").
std::string ErrNumberText(std::int32_t number);

// The error behind the exception currently being handled (call only inside
// a catch block): Raised as it is, std::bad_alloc as 7, std::out_of_range as
// 9, anything else as 5.
VbError CurrentError();

}  // namespace tqlm
