#include "platform/error.h"

#include <new>
#include <stdexcept>
#include <utility>

namespace tqlm {

Raised::Raised(VbError error) : error_(std::move(error)) {}

std::string StandardDescription(std::int32_t number) {
  switch (number) {
    case kErrInvalidCall: return "Invalid procedure call or argument";
    case kErrOverflow: return "Overflow";
    case kErrOutOfMemory: return "Out of memory";
    case kErrSubscript: return "Subscript out of range";
    case kErrTypeMismatch: return "Type mismatch";
    case kErrFileNotFound: return "File not found";
    case kErrFileExists: return "File already exists";
    case kErrDiskFull: return "Disk full";
    case kErrPermission: return "Permission denied";
    case kErrPathFileAccess: return "Path/File access error";
    case kErrPathNotFound: return "Path not found";
    case kErrObjectNotSet: return "Object variable or With block variable not set";
    case kErrInvalidNull: return "Invalid use of Null";
    case kErrDuplicateKey: return "This key is already associated with an element of this collection";
    case kErrNoCurrentRecord:
      return "Either BOF or EOF is True, or the current record has been deleted. "
             "Requested operation requires a current record.";
    case kErrItemNotFound:
      return "Item cannot be found in the collection corresponding to the requested name or ordinal.";
    default: return "Application-defined or object-defined error";
  }
}

void Raise(std::int32_t number, std::string source, std::string description) {
  if (description.empty()) description = StandardDescription(number);
  if (source.empty()) source = kDefaultErrorSource;
  throw Raised(VbError{number, std::move(source), std::move(description)});
}

std::string ErrNumberText(std::int32_t number) {
  std::string digits = std::to_string(number);
  return number < 0 ? digits : " " + digits;
}

VbError CurrentError() {
  try {
    throw;
  } catch (const Raised& raised) {
    return raised.error();
  } catch (const std::bad_alloc&) {
    return VbError{kErrOutOfMemory, kDefaultErrorSource, StandardDescription(kErrOutOfMemory)};
  } catch (const std::out_of_range&) {
    return VbError{kErrSubscript, kDefaultErrorSource, StandardDescription(kErrSubscript)};
  } catch (...) {
    return VbError{kErrInvalidCall, kDefaultErrorSource, StandardDescription(kErrInvalidCall)};
  }
}

}  // namespace tqlm
