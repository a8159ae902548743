// Domains of the data dictionary: the description of one domain, and the
// domain of a source field named by reference.
#pragma once

#include <string>
#include <string_view>

#include "core/component.h"

namespace tqlm {

// A domain's type (upper case), length, digits before and after the decimal
// point, case and alignment codes, from its first qxddi220 row.
struct DomainDescription {
  std::string type, length, digitsBefore, caseCode, alignment, digitsAfter;
};
// Raises 114 inside its trap when the domain is not described.
bool Construct_Domain_Tag(Component& c, std::string_view appl, std::string_view domain, DomainDescription& out);

// The conversion attributes of a source field's domain, for the generator's
// string rules: case and alignment codes, type letter and length. A field
// without a domain row leaves them as they are (the codes empty).
struct SourceDomain {
  std::string caseCode, alignment, type;
  VbInteger length = 0;
};
// The statement that reads a source field's domain attributes.
Statement SourceDomainStatement(std::string_view fieldReference, std::string_view appl);
bool Get_Domain_Details(Component& c, std::string_view fieldReference, std::string_view appl, SourceDomain& out);

}  // namespace tqlm
