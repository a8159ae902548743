// What both public classes share: the object's state, the members of the
// automation interface that both have alike (each class lists them with
// `using`, in its own slot order), and the hooks a host program or a test
// uses, which are not part of the automation interface.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <tqlm/plan.h>
#include <tqlm/textstream.h>
#include <tqlm/types.h>

namespace tqlm {

struct ClassTraits;
struct Component;
class ClassObject;

namespace detail {
// The state behind an object, for the component's own tests.
const Component& StateOf(const ClassObject& object);
}  // namespace detail

class ClassObject {
 public:
  ClassObject(const ClassObject&) = delete;
  ClassObject& operator=(const ClassObject&) = delete;

  // The source of the time stamps in log lines (tests fix it).
  void SetClock(Clock clock);
  // Documents built at once by GenerateXMLFile (at least 1): above 1, that
  // many workers build plain documents ahead of the run on connections of
  // their own; the log, the counters, the lists and every file are those of
  // one.
  void SetWorkers(int workers);
  // Whether a run makes what it wrote durable (syncs the file systems it
  // wrote into) before it reports its outcome; on unless said.
  void SetSync(bool sync);
  // A database server ends any one repository statement that runs longer
  // (seconds; 0: no bound; 60 unless said).
  void SetStatementTimeout(int seconds);
  // Sees every repository statement as the component built it (tracing).
  void SetStatementObserver(std::function<void(std::string_view)> observer);
  // Statements sent to the repository since the connection string was set
  // (lookups answered from memory are not sent), and those it compiled.
  long StatementsSent() const;
  long StatementsPrepared() const;
  // Of those sent, the statements a server answered from rows it sent ahead
  // of their turn, in one exchange with others.
  long StatementsReadAhead() const;
  // Told when the selection is known (none done), then after each selected
  // object: objects done, objects selected.
  void SetProgressObserver(std::function<void(VbLong done, VbLong total)> observer);
  // A run that only plans: it selects and searches as GenerateXMLFile does
  // and writes nothing; the outcome of each object is in PlannedObjects().
  VbBoolean Plan();
  // What the last run or plan did with each selected object, in selection
  // order.
  const std::vector<ObjectRecord>& PlannedObjects() const;
  // A run that checks: it builds every document and side file a run would
  // write and compares each with the file there, writing, deleting and
  // locking nothing in its folders (its log goes to the log stream, as a
  // run's). With `clear`, the files of this tool that a run clearing the
  // output folder first would remove count as gone. The files that would
  // change are in CheckedFiles(); the object is left as it was, as after
  // Plan().
  VbBoolean Check(bool clear);
  const std::vector<CheckedFile>& CheckedFiles() const;

 protected:
  friend const Component& detail::StateOf(const ClassObject& object);
  explicit ClassObject(const ClassTraits& traits);

  // Members of the automation interface that both classes have alike.
  void ClearXMLDirectory(VbBoolean clear);  // acts at once on XMLPath
  void PackageFrom(std::string_view value);
  void ModuleFrom(std::string_view value);
  void TableFrom(std::string_view value);
  void PackageTo(std::string_view value);
  void ModuleTo(std::string_view value);
  void TableTo(std::string_view value);
  void ConnectionString(std::string_view value);
  void XMLPath(std::string_view value);
  void TraverseGeneration(VbBoolean value);
  void ConsiderCheckedOutVersions(VbBoolean value);
  void LogFileName(std::shared_ptr<TextStream> stream);
  void UserName(std::string_view value);
  std::string ErrorDescription() const;
  void ListOfMappingObjectsSelected(std::string_view value);
  void SplitVorps(VbBoolean value);
  VbBoolean GenerateXMLFile();
  VbBoolean Replace_Empty_Default_Target(std::string_view StrSrcAppl, std::string_view StrTrgAppl,
                                         std::string_view StrString, std::string& Return_String);
  VbBoolean AddSplitQueries_to_Precondition(std::string_view StrSrcAppl, std::string_view InString,
                                            std::string_view strTgtTable, std::string& StrReturnString);
  VbInteger XMLSuccess() const;
  VbInteger XMLWarnings() const;
  VbInteger XMLErrors() const;

  ~ClassObject();
  std::unique_ptr<Component> state_;
};

}  // namespace tqlm
