#include <tqlm/class_object.h>

#include "core/component.h"
#include "interface/properties.h"
#include "rules/keywords.h"
#include "run/generation_run.h"
#include "split/split_processing.h"

namespace tqlm {

ClassObject::ClassObject(const ClassTraits& traits) : state_(std::make_unique<Component>(traits)) {}

// On release the field dictionary is emptied with the rest of the state.
ClassObject::~ClassObject() = default;

void ClassObject::SetClock(Clock clock) { state_->services.clock = std::move(clock); }

long ClassObject::StatementsSent() const { return state_->services.repository.StatementsSent(); }
long ClassObject::StatementsPrepared() const { return state_->services.repository.StatementsPrepared(); }
long ClassObject::StatementsReadAhead() const { return state_->services.repository.StatementsReadAhead(); }

void ClassObject::SetWorkers(int workers) { state_->services.workers = workers < 1 ? 1 : workers; }
void ClassObject::SetSync(bool sync) { state_->services.sync = sync; }
void ClassObject::SetStatementTimeout(int seconds) {
  state_->services.repository.SetStatementTimeout(seconds < 0 ? 0 : seconds);
}

void ClassObject::SetStatementObserver(std::function<void(std::string_view)> observer) {
  state_->services.repository.SetStatementObserver(std::move(observer));
}

void ClassObject::SetProgressObserver(std::function<void(VbLong, VbLong)> observer) {
  state_->services.progress = std::move(observer);
}

VbBoolean ClassObject::Plan() { return PlanRun(*state_); }
const std::vector<ObjectRecord>& ClassObject::PlannedObjects() const { return state_->run.objects; }
VbBoolean ClassObject::Check(bool clear) { return CheckRun(*state_, clear); }
const std::vector<CheckedFile>& ClassObject::CheckedFiles() const { return state_->run.checked; }

const Component& detail::StateOf(const ClassObject& object) { return *object.state_; }

void ClassObject::ClearXMLDirectory(VbBoolean clear) { SetClearXMLDirectory(*state_, clear); }
void ClassObject::PackageFrom(std::string_view v) { SetPackageBound(*state_, state_->settings.packageFrom, v); }
void ClassObject::ModuleFrom(std::string_view v) { SetModuleBound(*state_, state_->settings.moduleFrom, v); }
void ClassObject::TableFrom(std::string_view v) { SetTableBound(*state_, state_->settings.tableFrom, v); }
void ClassObject::PackageTo(std::string_view v) { SetPackageBound(*state_, state_->settings.packageTo, v); }
void ClassObject::ModuleTo(std::string_view v) { SetModuleBound(*state_, state_->settings.moduleTo, v); }
void ClassObject::TableTo(std::string_view v) { SetTableBound(*state_, state_->settings.tableTo, v); }
void ClassObject::ConnectionString(std::string_view v) {
  state_->services.repository.SetConnectionString(std::string(v));
}
void ClassObject::XMLPath(std::string_view v) { state_->settings.xmlPath = v; }
void ClassObject::TraverseGeneration(VbBoolean v) { state_->settings.traverseGeneration = v; }
void ClassObject::ConsiderCheckedOutVersions(VbBoolean v) { state_->settings.considerCheckedOutVersions = v; }
void ClassObject::LogFileName(std::shared_ptr<TextStream> stream) { state_->services.log = std::move(stream); }
void ClassObject::UserName(std::string_view v) { state_->settings.userName = v; }
std::string ClassObject::ErrorDescription() const { return state_->run.errorDescription; }
void ClassObject::ListOfMappingObjectsSelected(std::string_view v) { SetSelectionList(*state_, v); }
void ClassObject::SplitVorps(VbBoolean v) { state_->settings.splitVorps = v; }
VbBoolean ClassObject::GenerateXMLFile() { return tqlm::GenerateXMLFile(*state_); }

VbBoolean ClassObject::Replace_Empty_Default_Target(std::string_view StrSrcAppl, std::string_view StrTrgAppl,
                                                    std::string_view StrString, std::string& Return_String) {
  return ToVb(tqlm::Replace_Empty_Default_Target(*state_, state_->document.declarations, StrSrcAppl, StrTrgAppl,
                                                 StrString, Return_String));
}

VbBoolean ClassObject::AddSplitQueries_to_Precondition(std::string_view StrSrcAppl, std::string_view InString,
                                                       std::string_view strTgtTable, std::string& StrReturnString) {
  return ToVb(tqlm::AddSplitQueries_to_Precondition(*state_, state_->document, StrSrcAppl, InString, strTgtTable,
                                                    StrReturnString));
}

VbInteger ClassObject::XMLSuccess() const { return state_->run.xmlSuccess; }
VbInteger ClassObject::XMLWarnings() const { return state_->run.xmlWarnings; }
VbInteger ClassObject::XMLErrors() const { return state_->run.xmlErrors; }

}  // namespace tqlm
