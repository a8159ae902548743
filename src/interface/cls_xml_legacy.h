// ClsXMLLegacy: generates the documents of a migration profile whose source
// application is a set of flat files (text and comma-separated files) or
// tables reached through their own connections, and the side files the
// engine reads beside them: conversion codes, Schema.ini, the lookup
// application and split information.
//
// Members are listed in the order of the class's interface slots. A "let"
// property is a setter named like the property, a "get" property a const
// getter. Text is Windows-1252, one byte per character. A new object has
// every text empty and every flag off: it does not traverse parent profiles
// until TraverseGeneration is set.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "interface/class_object.h"
#include "platform/textstream.h"
#include "platform/vb_types.h"

namespace tqlm {

// The members beyond the automation interface (clock, observers, Plan,
// State) come from ClassObject.
class ClsXMLLegacy : public ClassObject {
 public:
  ClsXMLLegacy();

  void MigrationProfile(VbLong profile);
  void ClearXMLDirectory(VbBoolean clear);  // acts at once on XMLPath
  void PackageFrom(std::string_view value);
  void ModuleFrom(std::string_view value);
  void TableFrom(std::string_view value);  // stored as given
  void PackageTo(std::string_view value);
  void ModuleTo(std::string_view value);
  void TableTo(std::string_view value);  // stored as given
  void ConnectionString(std::string_view value);
  void XMLPath(std::string_view value);
  void TraverseGeneration(VbBoolean value);
  void ConsiderCheckedOutVersions(VbBoolean value);
  void LogFileName(std::shared_ptr<TextStream> stream);
  void SchemaINIPath(std::string_view value);  // the folder of Schema.ini
  void UserName(std::string_view value);
  std::string ErrorDescription() const;
  void ListOfMappingObjectsSelected(std::string_view value);
  void SplitVorps(VbBoolean value);  // also writes splitinfo.xml after a run
  VbBoolean GenerateXMLFile();
  VbBoolean Replace_Empty_Default_Target(std::string_view StrSrcAppl, std::string_view StrTrgAppl,
                                         std::string_view StrString, std::string& Return_String);
  VbBoolean ConstructSplitInfoFile(VbInteger IntMprf, std::string_view StrSplitInfoFileName);
  std::string GetConnStr(std::string_view i_StrAppl, std::string_view i_StrTable);
  VbBoolean AddSplitQueries_to_Precondition(std::string_view StrSrcAppl, std::string_view InString,
                                            std::string_view strTgtTable, std::string& StrReturnString);
  std::string get_split_fields(std::string_view StrSrcAppl, std::string_view strTgtTable,
                               std::string_view StrSrcTable);
  std::string GetFromToRange();
  VbInteger XMLSuccess() const;
  VbInteger XMLWarnings() const;
  VbInteger XMLErrors() const;
};

}  // namespace tqlm
