#include "document/sections.h"

namespace tqlm {

// The INFO section arrives with the target-table description; until then it
// contributes nothing.
bool Construct_Info_Tag(Component&, const MappingObject&, std::string& text) {
  text.clear();
  return true;
}

}  // namespace tqlm
