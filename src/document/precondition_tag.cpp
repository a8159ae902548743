#include "document/sections.h"

namespace tqlm {

// The PRE-CONDITIONS section arrives with the rule rewriting; until then it
// contributes nothing.
bool Construct_PreCondition_Tag(Component&, const MappingObject&, std::string& text) {
  text.clear();
  return true;
}

}  // namespace tqlm
