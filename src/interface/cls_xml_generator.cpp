#include "interface/cls_xml_generator.h"

#include "interface/component.h"
#include "interface/properties.h"
#include "platform/error.h"
#include "rules/keywords.h"
#include "run/generation_run.h"
#include "sidefiles/row_size.h"
#include "sidefiles/split_processing.h"

namespace tqlm {

ClsXMLGenerator::ClsXMLGenerator() : state_(std::make_unique<Component>(ClassKind::Generator)) {}

// On release the field dictionary is emptied with the rest of the state.
ClsXMLGenerator::~ClsXMLGenerator() = default;

void ClsXMLGenerator::MigrationProfile(VbInteger profile) { state_->migrationProfile = profile; }
void ClsXMLGenerator::PackageFrom(std::string_view v) { SetPackageBound(*state_, state_->packageFrom, v); }
void ClsXMLGenerator::ModuleFrom(std::string_view v) { SetModuleBound(*state_, state_->moduleFrom, v); }
void ClsXMLGenerator::TableFrom(std::string_view v) { SetTableBound(*state_, state_->tableFrom, v); }
void ClsXMLGenerator::PackageTo(std::string_view v) { SetPackageBound(*state_, state_->packageTo, v); }
void ClsXMLGenerator::ModuleTo(std::string_view v) { SetModuleBound(*state_, state_->moduleTo, v); }
void ClsXMLGenerator::TableTo(std::string_view v) { SetTableBound(*state_, state_->tableTo, v); }
void ClsXMLGenerator::ConnectionString(std::string_view v) { state_->repository.SetConnectionString(std::string(v)); }
void ClsXMLGenerator::XMLPath(std::string_view v) { state_->xmlPath = v; }
void ClsXMLGenerator::Include2GBCheck(VbBoolean v) { state_->include2GBCheck = v; }
void ClsXMLGenerator::XMLGenerationOption(EnumGenerateXML option) {
  SetGenerationOption(*state_, static_cast<VbLong>(option));
}
void ClsXMLGenerator::ClearXMLDirectory(VbBoolean clear) { SetClearXMLDirectory(*state_, clear); }
std::string ClsXMLGenerator::ListOfXMLGenerated() const { return state_->listOfXMLGenerated; }
std::string ClsXMLGenerator::ErrorDescription() const { return state_->errorDescription; }
void ClsXMLGenerator::LogFileName(std::shared_ptr<TextStream> stream) { state_->log = std::move(stream); }
void ClsXMLGenerator::UserName(std::string_view v) { state_->userName = v; }
void ClsXMLGenerator::ListOfMappingObjectsSelected(std::string_view v) {
  state_->listOfMappingObjectsSelected = v;
  state_->selectionQuotedByRun = false;
}
void ClsXMLGenerator::TraverseGeneration(VbBoolean v) { state_->traverseGeneration = v; }
VbLong ClsXMLGenerator::NoOfXMLGenerated() const { return state_->noOfXMLGenerated; }
void ClsXMLGenerator::ConsiderCheckedOutVersions(VbBoolean v) { state_->considerCheckedOutVersions = v; }
void ClsXMLGenerator::SplitVorps(VbBoolean v) { state_->splitVorps = v; }
VbBoolean ClsXMLGenerator::GenerateXMLFile() { return tqlm::GenerateXMLFile(*state_); }

VbBoolean ClsXMLGenerator::Replace_Empty_Default_Target(std::string_view StrSrcAppl, std::string_view StrTrgAppl,
                                                        std::string_view StrString, std::string& Return_String) {
  return ToVb(tqlm::Replace_Empty_Default_Target(*state_, StrSrcAppl, StrTrgAppl, StrString, Return_String));
}

VbBoolean ClsXMLGenerator::AddSplitQueries_to_Precondition(std::string_view StrSrcAppl, std::string_view InString,
                                                           std::string_view strTgtTable, std::string& StrReturnString) {
  return ToVb(tqlm::AddSplitQueries_to_Precondition(*state_, StrSrcAppl, InString, strTgtTable, StrReturnString));
}

std::string ClsXMLGenerator::get_split_fields(std::string_view StrSrcAppl, std::string_view strTgtTable,
                                              std::string_view StrSrcTable, std::string& StrFlst) {
  return tqlm::get_split_fields(*state_, StrSrcAppl, strTgtTable, StrSrcTable, StrFlst);
}

VbLong ClsXMLGenerator::RowSizeofTable(std::string_view i_StrAppl, std::string_view i_StrTable) {
  return tqlm::RowSizeofTable(*state_, i_StrAppl, i_StrTable);
}

VbInteger ClsXMLGenerator::XMLSuccess() const { return state_->xmlSuccess; }
VbInteger ClsXMLGenerator::XMLWarnings() const { return state_->xmlWarnings; }
VbInteger ClsXMLGenerator::XMLErrors() const { return state_->xmlErrors; }

void ClsXMLGenerator::SetClock(Clock clock) { state_->clock = std::move(clock); }
void ClsXMLGenerator::SetStatementObserver(std::function<void(std::string_view)> observer) {
  state_->repository.SetStatementObserver(std::move(observer));
}

}  // namespace tqlm
