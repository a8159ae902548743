#include "document/sections.h"

namespace tqlm {

// The dump sections arrive with the field rules; until then they contribute
// nothing.
bool Construct_Dump_Tag(Component&, const MappingObject&, bool, std::string& text) {
  text.clear();
  return true;
}

}  // namespace tqlm
