// ClsXMLGenerator: generates the documents of a migration profile whose
// source application is described by the repository's data dictionary.
//
// Members are listed in the order of the class's interface slots. A "let"
// property is a setter named like the property, a "get" property a const
// getter. Text is Windows-1252, one byte per character.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "core/records.h"
#include "interface/class_object.h"
#include "platform/textstream.h"
#include "platform/vb_types.h"

namespace tqlm {

// The members beyond the automation interface (clock, observers, Plan,
// State) come from ClassObject.
class ClsXMLGenerator : public ClassObject {
 public:
  ClsXMLGenerator();

  void MigrationProfile(VbInteger profile);
  void PackageFrom(std::string_view value);
  void ModuleFrom(std::string_view value);
  void TableFrom(std::string_view value);
  void PackageTo(std::string_view value);
  void ModuleTo(std::string_view value);
  void TableTo(std::string_view value);
  void ConnectionString(std::string_view value);
  void XMLPath(std::string_view value);
  void Include2GBCheck(VbBoolean value);
  void XMLGenerationOption(EnumGenerateXML option);
  void ClearXMLDirectory(VbBoolean clear);  // acts at once on XMLPath
  std::string ListOfXMLGenerated() const;
  std::string ErrorDescription() const;
  void LogFileName(std::shared_ptr<TextStream> stream);
  void UserName(std::string_view value);
  void ListOfMappingObjectsSelected(std::string_view value);
  void TraverseGeneration(VbBoolean value);
  VbLong NoOfXMLGenerated() const;
  void ConsiderCheckedOutVersions(VbBoolean value);
  void SplitVorps(VbBoolean value);
  VbBoolean GenerateXMLFile();
  VbBoolean Replace_Empty_Default_Target(std::string_view StrSrcAppl, std::string_view StrTrgAppl,
                                         std::string_view StrString, std::string& Return_String);
  VbBoolean AddSplitQueries_to_Precondition(std::string_view StrSrcAppl, std::string_view InString,
                                            std::string_view strTgtTable, std::string& StrReturnString);
  std::string get_split_fields(std::string_view StrSrcAppl, std::string_view strTgtTable,
                               std::string_view StrSrcTable, std::string& StrFlst);
  VbLong RowSizeofTable(std::string_view i_StrAppl, std::string_view i_StrTable);
  VbInteger XMLSuccess() const;
  VbInteger XMLWarnings() const;
  VbInteger XMLErrors() const;
};

}  // namespace tqlm
