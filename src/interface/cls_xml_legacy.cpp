#include "interface/cls_xml_legacy.h"

#include "core/component.h"
#include "core/pasted_values.h"
#include "interface/properties.h"
#include "rules/keywords.h"
#include "run/generation_run.h"
#include "sidefiles/connection_string.h"
#include "sidefiles/split_info.h"
#include "split/split_processing.h"
#include "split/split_ranges.h"

namespace tqlm {

ClsXMLLegacy::ClsXMLLegacy() : ClassObject(kLegacyTraits) {}


void ClsXMLLegacy::MigrationProfile(VbLong profile) { state_->settings.migrationProfile = profile; }
void ClsXMLLegacy::ClearXMLDirectory(VbBoolean clear) { SetClearXMLDirectory(*state_, clear); }
void ClsXMLLegacy::PackageFrom(std::string_view v) { SetPackageBound(*state_, state_->settings.packageFrom, v); }
void ClsXMLLegacy::ModuleFrom(std::string_view v) { SetModuleBound(*state_, state_->settings.moduleFrom, v); }
void ClsXMLLegacy::TableFrom(std::string_view v) { SetTableBound(*state_, state_->settings.tableFrom, v); }
void ClsXMLLegacy::PackageTo(std::string_view v) { SetPackageBound(*state_, state_->settings.packageTo, v); }
void ClsXMLLegacy::ModuleTo(std::string_view v) { SetModuleBound(*state_, state_->settings.moduleTo, v); }
void ClsXMLLegacy::TableTo(std::string_view v) { SetTableBound(*state_, state_->settings.tableTo, v); }
void ClsXMLLegacy::ConnectionString(std::string_view v) {
  state_->services.repository.SetConnectionString(std::string(v));
}
void ClsXMLLegacy::XMLPath(std::string_view v) { state_->settings.xmlPath = v; }
void ClsXMLLegacy::TraverseGeneration(VbBoolean v) { state_->settings.traverseGeneration = v; }
void ClsXMLLegacy::ConsiderCheckedOutVersions(VbBoolean v) { state_->settings.considerCheckedOutVersions = v; }
void ClsXMLLegacy::LogFileName(std::shared_ptr<TextStream> stream) { state_->services.log = std::move(stream); }
void ClsXMLLegacy::SchemaINIPath(std::string_view v) { state_->settings.schemaIniPath = v; }
void ClsXMLLegacy::UserName(std::string_view v) { state_->settings.userName = v; }
std::string ClsXMLLegacy::ErrorDescription() const { return state_->run.errorDescription; }
void ClsXMLLegacy::ListOfMappingObjectsSelected(std::string_view v) { SetSelectionList(*state_, v); }
void ClsXMLLegacy::SplitVorps(VbBoolean v) { state_->settings.splitVorps = v; }
VbBoolean ClsXMLLegacy::GenerateXMLFile() { return tqlm::GenerateXMLFile(*state_); }

VbBoolean ClsXMLLegacy::Replace_Empty_Default_Target(std::string_view StrSrcAppl, std::string_view StrTrgAppl,
                                                     std::string_view StrString, std::string& Return_String) {
  RefuseQuotes({{"StrSrcAppl", StrSrcAppl}, {"StrTrgAppl", StrTrgAppl}});
  return ToVb(tqlm::Replace_Empty_Default_Target(*state_, StrSrcAppl, StrTrgAppl, StrString, Return_String));
}

VbBoolean ClsXMLLegacy::ConstructSplitInfoFile(VbInteger IntMprf, std::string_view StrSplitInfoFileName) {
  return ToVb(tqlm::ConstructSplitInfoFile(*state_, IntMprf, StrSplitInfoFileName));
}

std::string ClsXMLLegacy::GetConnStr(std::string_view i_StrAppl, std::string_view i_StrTable) {
  RefuseQuotes({{"i_StrAppl", i_StrAppl}, {"i_StrTable", i_StrTable}});
  return tqlm::GetConnStr(*state_, i_StrAppl, i_StrTable);
}

VbBoolean ClsXMLLegacy::AddSplitQueries_to_Precondition(std::string_view StrSrcAppl, std::string_view InString,
                                                        std::string_view strTgtTable, std::string& StrReturnString) {
  RefuseQuotes({{"StrSrcAppl", StrSrcAppl}, {"strTgtTable", strTgtTable}});
  return ToVb(tqlm::AddSplitQueries_to_Precondition(*state_, StrSrcAppl, InString, strTgtTable, StrReturnString));
}

std::string ClsXMLLegacy::get_split_fields(std::string_view StrSrcAppl, std::string_view strTgtTable,
                                           std::string_view StrSrcTable) {
  RefuseQuotes({{"StrSrcAppl", StrSrcAppl}, {"strTgtTable", strTgtTable}, {"StrSrcTable", StrSrcTable}});
  std::string stored;
  return tqlm::get_split_fields(*state_, StrSrcAppl, strTgtTable, StrSrcTable, stored);
}

std::string ClsXMLLegacy::GetFromToRange() { return tqlm::GetFromToRange(); }

VbInteger ClsXMLLegacy::XMLSuccess() const { return state_->run.xmlSuccess; }
VbInteger ClsXMLLegacy::XMLWarnings() const { return state_->run.xmlWarnings; }
VbInteger ClsXMLLegacy::XMLErrors() const { return state_->run.xmlErrors; }

}  // namespace tqlm
