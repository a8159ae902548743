#include "run/side_files.h"

#include "platform/error.h"
#include "platform/filesystem.h"
#include "run/run_log.h"
#include "run/store.h"
#include "sidefiles/conversion_codes.h"
#include "sidefiles/lookup_application.h"
#include "sidefiles/schema_ini.h"
#include "sidefiles/split_info.h"

namespace tqlm {

namespace {

// Stores what a writer left, also when it failed (its names then hold no
// file), and passes its result on.
template <class Writer>
bool Stored(Component& c, Writer&& write) {
  SideFiles files;
  bool written;
  try {
    written = write(files);
  } catch (...) {
    StoreSideFiles(c, files);
    throw;
  }
  StoreSideFiles(c, files);
  return written;
}

}  // namespace

bool WriteSideFiles(Component& c, const std::string& sapp) {
  std::string codes;
  if (!Create_Conversion_Code_XML(c, codes)) return false;
  StoreSideFiles(c, ConversionCodeFiles(c, codes));
  LogSideFileLine(c, "Conversion Code XML Createad Successfully.");
  if (!Stored(c, [&](SideFiles& files) { return Build_Schema_ini(c, sapp, files); }))
    Raise(124, "XML Generation", "Error encountered while building schema.ini file");
  LogSideFileLine(c, "Schema.ini File Built Successfully.");
  if (!c.run.lookupApplication.empty()) {
    if (!Stored(c, [&](SideFiles& files) { return Build_Lookup_Application_File(c, c.run.lookupApplication, files); }))
      Raise(124, "XML Generation", "Error encountered while Creating LookupApplication file");
    LogSideFileLine(c, "LookupApplication  File Built Successfully.");
  }
  if (IsTrue(c.settings.splitVorps)) {
    // The split-information writer takes the profile number as an Integer.
    WriteSplitInfoFile(c, CInt(static_cast<long long>(c.settings.migrationProfile)),
                       fs::ChildPath(c.settings.xmlPath, "splitinfo.xml"));
  }
  return true;
}

bool WriteSplitInfoFile(Component& c, VbInteger profile, std::string_view fileName) {
  return Stored(c, [&](SideFiles& files) { return ConstructSplitInfoFile(c, profile, fileName, files); });
}

}  // namespace tqlm
