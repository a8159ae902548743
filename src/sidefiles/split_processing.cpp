#include "sidefiles/split_processing.h"

#include "interface/error_trap.h"

namespace tqlm {

namespace {
constexpr TrapStyle kSplitTrap{"\t\tERROR:in AddSplitQueries_to_Precondition  ErrNo.", ":", "",
                               LogCall::WriteLine, true};
}

// Split processing is not built yet: a document that asks for it fails with
// a line saying so.
bool AddSplitQueries_to_Precondition(Component& c, std::string_view, std::string_view, std::string_view,
                                     std::string& returnString) {
  returnString.clear();
  return Trapped(c, kSplitTrap, [&]() -> bool {
    Raise(kErrInvalidCall, "XML Generation", "split processing is not available in this build");
  });
}

}  // namespace tqlm
