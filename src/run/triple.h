// The triple under which a mapping object is looked for: version (4
// characters), release (2), customer (4), fixed-width texts padded with
// blanks.
#pragma once

#include <string>

#include "platform/text.h"
#include "repository/value.h"

namespace tqlm {

struct Triple {
  std::string vers = "    ", rele = "  ", cust = "    ";
  bool operator==(const Triple&) const = default;
};

inline Triple TripleOf(const Value& vers, const Value& rele, const Value& cust) {
  return Triple{FixedLength(vers.AsText(), 4), FixedLength(rele.AsText(), 2), FixedLength(cust.AsText(), 4)};
}

}  // namespace tqlm
