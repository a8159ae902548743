#include "document/table_description.h"

namespace tqlm {

// The variable declarations arrive with the rule rewriting; until then the
// INFO section carries nothing for them.
bool Construct_Variable_Tag(Component&, const MappingObject&, std::string& text, std::string_view) {
  text.clear();
  return true;
}

}  // namespace tqlm
