#include "dictionary/index_parts.h"

#include <algorithm>

namespace tqlm {

std::vector<std::string> IndexParts(const Recordset& row) {
  std::vector<std::string> parts;
  const long last = std::min(kLastIndexPart, row.FieldCount() - 1);
  for (long p = kFirstIndexPart; p <= last; ++p) {
    const Value& part = row.Field(p);
    if (part.IsNull() || part.AsText().empty()) break;
    parts.push_back(part.AsText());
  }
  return parts;
}

}  // namespace tqlm
