#include "interface/properties.h"

#include "platform/filesystem.h"
#include "platform/text.h"

namespace tqlm {

void SetPackageBound(Component& c, std::string& bound, std::string_view value) {
  bound = c.traits.fixedWidthBounds ? FixedLength(LCase(value), 2) : LCase(value);
}

void SetModuleBound(Component& c, std::string& bound, std::string_view value) {
  bound = c.traits.fixedWidthBounds ? FixedLength(LCase(value), 3) : LCase(value);
}

void SetTableBound(Component& c, std::string& bound, std::string_view value) {
  bound = c.traits.fixedWidthBounds ? Right("000" + LCase(value), 3) : std::string(value);
}

void SetClearXMLDirectory(Component& c, VbBoolean clear) {
  c.settings.xmlPath = Trim(c.settings.xmlPath);
  if (!IsTrue(clear) || c.settings.xmlPath.empty()) return;
  // The folder itself stays (emptied), so that a run's lock on it holds; a
  // link to a folder gives way to a folder of its own.
  if (fs::FolderExists(c.settings.xmlPath))
    fs::EmptyFolder(c.settings.xmlPath);
  else
    fs::CreateFolder(c.settings.xmlPath);
}

void SetSelectionList(Component& c, std::string_view list) {
  c.settings.listOfMappingObjectsSelected = list;
  c.settings.selectionQuotedByRun = false;
}

void SetGenerationOption(Component& c, VbLong option) {
  c.settings.generationOption = option;
  switch (option) {
    case 0: c.settings.statusList = "G"; break;
    case 1: c.settings.statusList = "M"; break;
    case 2: c.settings.statusList = "V"; break;
    case 3: c.settings.statusList = "VG"; break;
    case 4:
    case 5: c.settings.statusList = kEveryStatus; break;
    default: break;  // stored, status list unchanged
  }
}

}  // namespace tqlm
