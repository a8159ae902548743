#include <tqlm/cls_xml_legacy.h>

#include "core/component.h"
#include "sidefiles/connection_string.h"
#include "run/side_files.h"
#include "split/split_processing.h"
#include "split/split_ranges.h"

namespace tqlm {

ClsXMLLegacy::ClsXMLLegacy() : ClassObject(kLegacyTraits) {}

void ClsXMLLegacy::MigrationProfile(VbLong profile) { state_->settings.migrationProfile = profile; }
void ClsXMLLegacy::SchemaINIPath(std::string_view v) { state_->settings.schemaIniPath = v; }

VbBoolean ClsXMLLegacy::ConstructSplitInfoFile(VbInteger IntMprf, std::string_view StrSplitInfoFileName) {
  return ToVb(WriteSplitInfoFile(*state_, IntMprf, StrSplitInfoFileName));
}

std::string ClsXMLLegacy::GetConnStr(std::string_view i_StrAppl, std::string_view i_StrTable) {
  return tqlm::GetConnStr(*state_, i_StrAppl, i_StrTable);
}

std::string ClsXMLLegacy::get_split_fields(std::string_view StrSrcAppl, std::string_view strTgtTable,
                                           std::string_view StrSrcTable) {
  std::string stored;
  return tqlm::get_split_fields(*state_, StrSrcAppl, strTgtTable, StrSrcTable, stored);
}

std::string ClsXMLLegacy::GetFromToRange() { return tqlm::GetFromToRange(); }

}  // namespace tqlm
