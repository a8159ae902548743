#include "interface/properties.h"

#include "platform/filesystem.h"
#include "platform/text.h"

namespace tqlm {

void SetPackageBound(Component& c, std::string& bound, std::string_view value) {
  bound = c.IsGenerator() ? FixedLength(LCase(value), 2) : LCase(value);
}

void SetModuleBound(Component& c, std::string& bound, std::string_view value) {
  bound = c.IsGenerator() ? FixedLength(LCase(value), 3) : LCase(value);
}

void SetTableBound(Component& c, std::string& bound, std::string_view value) {
  bound = c.IsGenerator() ? Right("000" + LCase(value), 3) : std::string(value);
}

void SetClearXMLDirectory(Component& c, VbBoolean clear) {
  c.xmlPath = Trim(c.xmlPath);
  if (!IsTrue(clear) || c.xmlPath.empty()) return;
  if (fs::FolderExists(c.xmlPath)) fs::DeleteFolder(c.xmlPath);
  fs::CreateFolder(c.xmlPath);
}

void SetGenerationOption(Component& c, VbLong option) {
  c.generationOption = option;
  switch (option) {
    case 0: c.statusList = "'G'"; break;
    case 1: c.statusList = "'M'"; break;
    case 2: c.statusList = "'V'"; break;
    case 3: c.statusList = "'V','G'"; break;
    case 4:
    case 5: c.statusList = "'V','G','M','E','X','D'"; break;
    default: break;  // stored, status list unchanged
  }
}

}  // namespace tqlm
