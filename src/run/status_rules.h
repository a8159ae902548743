// What the status rules make of a mapping object found: skipped (and why,
// and which counter counts it), or a document to build, with the object as
// the document writers receive it. The two classes' rules stand side by
// side.
#pragma once

#include <string>

#include "core/component.h"
#include "core/mapping_object.h"
#include "run/object_search.h"

namespace tqlm {

enum class Counted { Nowhere, AsError, AsNoMapping };

struct Decision {
  // Written stands for a document to build; the others are skips.
  ObjectOutcome outcome = ObjectOutcome::Written;
  Counted counted = Counted::Nowhere;
  bool mscript = false;  // the document is its M-script's
  MappingObject document;
};

// The object's applications and codes, as the document receives them.
struct ObjectPlace {
  const std::string& sapp;
  const std::string& tapp;
  const ObjectCodes& codes;
};

// Raises as the row's values do (an M-script flag that is no flag: 13).
Decision ApplyStatusRules(Component& c, const FoundRow& found, const ObjectPlace& place);

}  // namespace tqlm
