// ClsXMLGenerator: generates the documents of a migration profile whose
// source application is described by the repository's data dictionary.
//
// Members are listed in the order of the class's interface slots. A "let"
// property is a setter named like the property, a "get" property a const
// getter. Text is Windows-1252, one byte per character.
#pragma once

#include <string>
#include <string_view>

#include <tqlm/class_object.h>
#include <tqlm/records.h>
#include <tqlm/types.h>

namespace tqlm {

// The members beyond the automation interface (clock, observers, Plan) come
// from ClassObject.
class ClsXMLGenerator : public ClassObject {
 public:
  ClsXMLGenerator();

  void MigrationProfile(VbInteger profile);
  using ClassObject::PackageFrom;
  using ClassObject::ModuleFrom;
  using ClassObject::TableFrom;
  using ClassObject::PackageTo;
  using ClassObject::ModuleTo;
  using ClassObject::TableTo;
  using ClassObject::ConnectionString;
  using ClassObject::XMLPath;
  void Include2GBCheck(VbBoolean value);
  void XMLGenerationOption(EnumGenerateXML option);
  using ClassObject::ClearXMLDirectory;
  std::string ListOfXMLGenerated() const;
  using ClassObject::ErrorDescription;
  using ClassObject::LogFileName;
  using ClassObject::UserName;
  using ClassObject::ListOfMappingObjectsSelected;
  using ClassObject::TraverseGeneration;
  VbLong NoOfXMLGenerated() const;
  using ClassObject::ConsiderCheckedOutVersions;
  using ClassObject::SplitVorps;
  using ClassObject::GenerateXMLFile;
  using ClassObject::Replace_Empty_Default_Target;
  using ClassObject::AddSplitQueries_to_Precondition;
  std::string get_split_fields(std::string_view StrSrcAppl, std::string_view strTgtTable,
                               std::string_view StrSrcTable, std::string& StrFlst);
  VbLong RowSizeofTable(std::string_view i_StrAppl, std::string_view i_StrTable);
  using ClassObject::XMLSuccess;
  using ClassObject::XMLWarnings;
  using ClassObject::XMLErrors;
};

}  // namespace tqlm
