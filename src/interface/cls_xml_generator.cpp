#include <tqlm/cls_xml_generator.h>

#include "core/component.h"
#include "dictionary/row_size.h"
#include "interface/properties.h"
#include "split/split_processing.h"

namespace tqlm {

ClsXMLGenerator::ClsXMLGenerator() : ClassObject(kGeneratorTraits) {}

void ClsXMLGenerator::MigrationProfile(VbInteger profile) { state_->settings.migrationProfile = profile; }
void ClsXMLGenerator::Include2GBCheck(VbBoolean v) { state_->settings.include2GBCheck = v; }
void ClsXMLGenerator::XMLGenerationOption(EnumGenerateXML option) {
  SetGenerationOption(*state_, static_cast<VbLong>(option));
}
std::string ClsXMLGenerator::ListOfXMLGenerated() const { return state_->run.listOfXMLGenerated; }
VbLong ClsXMLGenerator::NoOfXMLGenerated() const { return state_->run.noOfXMLGenerated; }

std::string ClsXMLGenerator::get_split_fields(std::string_view StrSrcAppl, std::string_view strTgtTable,
                                              std::string_view StrSrcTable, std::string& StrFlst) {
  return tqlm::get_split_fields(*state_, StrSrcAppl, strTgtTable, StrSrcTable, StrFlst);
}

VbLong ClsXMLGenerator::RowSizeofTable(std::string_view i_StrAppl, std::string_view i_StrTable) {
  return tqlm::RowSizeofTable(*state_, i_StrAppl, i_StrTable);
}

}  // namespace tqlm
