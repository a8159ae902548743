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

#include <string>
#include <string_view>

#include <tqlm/class_object.h>
#include <tqlm/types.h>

namespace tqlm {

// The members beyond the automation interface (clock, observers, Plan) come
// from ClassObject.
class ClsXMLLegacy : public ClassObject {
 public:
  ClsXMLLegacy();

  void MigrationProfile(VbLong profile);
  using ClassObject::ClearXMLDirectory;
  using ClassObject::PackageFrom;
  using ClassObject::ModuleFrom;
  using ClassObject::TableFrom;  // stored as given
  using ClassObject::PackageTo;
  using ClassObject::ModuleTo;
  using ClassObject::TableTo;  // stored as given
  using ClassObject::ConnectionString;
  using ClassObject::XMLPath;
  using ClassObject::TraverseGeneration;
  using ClassObject::ConsiderCheckedOutVersions;
  using ClassObject::LogFileName;
  void SchemaINIPath(std::string_view value);  // the folder of Schema.ini
  using ClassObject::UserName;
  using ClassObject::ErrorDescription;
  using ClassObject::ListOfMappingObjectsSelected;
  using ClassObject::SplitVorps;  // also writes splitinfo.xml after a run
  using ClassObject::GenerateXMLFile;
  using ClassObject::Replace_Empty_Default_Target;
  VbBoolean ConstructSplitInfoFile(VbInteger IntMprf, std::string_view StrSplitInfoFileName);
  std::string GetConnStr(std::string_view i_StrAppl, std::string_view i_StrTable);
  using ClassObject::AddSplitQueries_to_Precondition;
  std::string get_split_fields(std::string_view StrSrcAppl, std::string_view strTgtTable,
                               std::string_view StrSrcTable);
  std::string GetFromToRange();
  using ClassObject::XMLSuccess;
  using ClassObject::XMLWarnings;
  using ClassObject::XMLErrors;
};

}  // namespace tqlm
