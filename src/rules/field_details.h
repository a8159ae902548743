// The field records the dump writer reads: one CFieldInfo per target field
// (an array field of depth d gives d records), kept in the document's field
// dictionary in field order.
#pragma once

#include <string>
#include <string_view>

#include "core/component.h"

namespace tqlm {

struct FieldDetails {
  VbLong depth = 0;  // Integer in the generator, Long in the legacy class
  std::string fieldName;
  std::string domainName;
  std::string defaultValue;  // the field's stored initial value
  std::string typeLetter;
  std::string length;  // as text; its value (empty counts as 0) is the record's length
  std::string alignment;
  std::string caseCode;
  std::string tableName;
  std::string mandatory;  // generator only
};

// Works out the initial value and the normalised default from the type
// letter and adds the records. Errors (a duplicate field, a length that is
// not a number) are logged by its own trap; the caller goes on.
void Store_Field_Details_in_Dictionary(Component& c, Dictionary<CFieldInfo>& fields, const FieldDetails& field);

// The engine's empty string of `length` characters: String.Set$(" ",length).
inline constexpr std::string_view kEmptyStringCall = "String.Set$(\" \"";
inline std::string EmptyStringValue(std::string_view length) {
  return std::string(kEmptyStringCall) + "," + std::string(length) + ")";
}

}  // namespace tqlm
