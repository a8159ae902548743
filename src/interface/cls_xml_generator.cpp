#include "interface/cls_xml_generator.h"

#include "core/component.h"
#include "core/pasted_values.h"
#include "interface/properties.h"
#include "platform/error.h"
#include "rules/keywords.h"
#include "run/generation_run.h"
#include "dictionary/row_size.h"
#include "split/split_processing.h"

namespace tqlm {

ClsXMLGenerator::ClsXMLGenerator() : ClassObject(kGeneratorTraits) {}


void ClsXMLGenerator::MigrationProfile(VbInteger profile) { state_->settings.migrationProfile = profile; }
void ClsXMLGenerator::PackageFrom(std::string_view v) { SetPackageBound(*state_, state_->settings.packageFrom, v); }
void ClsXMLGenerator::ModuleFrom(std::string_view v) { SetModuleBound(*state_, state_->settings.moduleFrom, v); }
void ClsXMLGenerator::TableFrom(std::string_view v) { SetTableBound(*state_, state_->settings.tableFrom, v); }
void ClsXMLGenerator::PackageTo(std::string_view v) { SetPackageBound(*state_, state_->settings.packageTo, v); }
void ClsXMLGenerator::ModuleTo(std::string_view v) { SetModuleBound(*state_, state_->settings.moduleTo, v); }
void ClsXMLGenerator::TableTo(std::string_view v) { SetTableBound(*state_, state_->settings.tableTo, v); }
void ClsXMLGenerator::ConnectionString(std::string_view v) { state_->services.repository.SetConnectionString(std::string(v)); }
void ClsXMLGenerator::XMLPath(std::string_view v) { state_->settings.xmlPath = v; }
void ClsXMLGenerator::Include2GBCheck(VbBoolean v) { state_->settings.include2GBCheck = v; }
void ClsXMLGenerator::XMLGenerationOption(EnumGenerateXML option) {
  SetGenerationOption(*state_, static_cast<VbLong>(option));
}
void ClsXMLGenerator::ClearXMLDirectory(VbBoolean clear) { SetClearXMLDirectory(*state_, clear); }
std::string ClsXMLGenerator::ListOfXMLGenerated() const { return state_->run.listOfXMLGenerated; }
std::string ClsXMLGenerator::ErrorDescription() const { return state_->run.errorDescription; }
void ClsXMLGenerator::LogFileName(std::shared_ptr<TextStream> stream) { state_->services.log = std::move(stream); }
void ClsXMLGenerator::UserName(std::string_view v) { state_->settings.userName = v; }
void ClsXMLGenerator::ListOfMappingObjectsSelected(std::string_view v) { SetSelectionList(*state_, v); }
void ClsXMLGenerator::TraverseGeneration(VbBoolean v) { state_->settings.traverseGeneration = v; }
VbLong ClsXMLGenerator::NoOfXMLGenerated() const { return state_->run.noOfXMLGenerated; }
void ClsXMLGenerator::ConsiderCheckedOutVersions(VbBoolean v) { state_->settings.considerCheckedOutVersions = v; }
void ClsXMLGenerator::SplitVorps(VbBoolean v) { state_->settings.splitVorps = v; }
VbBoolean ClsXMLGenerator::GenerateXMLFile() { return tqlm::GenerateXMLFile(*state_); }

VbBoolean ClsXMLGenerator::Replace_Empty_Default_Target(std::string_view StrSrcAppl, std::string_view StrTrgAppl,
                                                        std::string_view StrString, std::string& Return_String) {
  RefuseQuotes({{"StrSrcAppl", StrSrcAppl}, {"StrTrgAppl", StrTrgAppl}});
  return ToVb(tqlm::Replace_Empty_Default_Target(*state_, StrSrcAppl, StrTrgAppl, StrString, Return_String));
}

VbBoolean ClsXMLGenerator::AddSplitQueries_to_Precondition(std::string_view StrSrcAppl, std::string_view InString,
                                                           std::string_view strTgtTable, std::string& StrReturnString) {
  RefuseQuotes({{"StrSrcAppl", StrSrcAppl}, {"strTgtTable", strTgtTable}});
  return ToVb(tqlm::AddSplitQueries_to_Precondition(*state_, StrSrcAppl, InString, strTgtTable, StrReturnString));
}

std::string ClsXMLGenerator::get_split_fields(std::string_view StrSrcAppl, std::string_view strTgtTable,
                                              std::string_view StrSrcTable, std::string& StrFlst) {
  RefuseQuotes({{"StrSrcAppl", StrSrcAppl}, {"strTgtTable", strTgtTable}, {"StrSrcTable", StrSrcTable}});
  return tqlm::get_split_fields(*state_, StrSrcAppl, strTgtTable, StrSrcTable, StrFlst);
}

VbLong ClsXMLGenerator::RowSizeofTable(std::string_view i_StrAppl, std::string_view i_StrTable) {
  RefuseQuotes({{"i_StrAppl", i_StrAppl}, {"i_StrTable", i_StrTable}});
  return tqlm::RowSizeofTable(*state_, i_StrAppl, i_StrTable);
}

VbInteger ClsXMLGenerator::XMLSuccess() const { return state_->run.xmlSuccess; }
VbInteger ClsXMLGenerator::XMLWarnings() const { return state_->run.xmlWarnings; }
VbInteger ClsXMLGenerator::XMLErrors() const { return state_->run.xmlErrors; }

}  // namespace tqlm
