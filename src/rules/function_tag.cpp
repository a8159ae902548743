#include "document/sections.h"

namespace tqlm {

// The FUNCTION section arrives with the rule rewriting; until then it
// contributes nothing.
bool Construct_Function_Tag(Component&, const MappingObject&, std::string& text) {
  text.clear();
  return true;
}

}  // namespace tqlm
