// The record classes and the enumeration of the component's type library.
#pragma once

#include <string>

#include <tqlm/types.h>

namespace tqlm {

// One row of field-level mapping rules.
struct CDumpInfo {
  VbInteger IntDumpNo = 0;
  std::string StrTargetTableName;
  std::string StrFieldName;
  std::string StrMapRule;
  VbInteger IntFieldType = 0;
};

// One target field's layout and rule details.
struct CFieldInfo {
  std::string StrTableName;
  std::string StrFieldName;
  std::string StrDomainName;
  std::string StrInitialValue;
  std::string StrDefaultValue;
  VbInteger IntDepth = 0;
  std::string StrFieldCase;
  std::string StrFieldAlign;
  VbLong IntFieldLength = 0;
  std::string StrFieldType;
  std::string StrMandField;
};

// Which mapping-object statuses a generation exports. Values outside 0 to 5
// may be set; they leave the status list as it was.
enum class EnumGenerateXML : VbLong {
  ONLY_DEFAULT_GENERATED = 0,
  ONLY_MAINTAINED = 1,
  ONLY_VERIFIED = 2,
  GENERATED_AND_VERIFIED = 3,
  GENERATED_VERIFIED_MAINTAINED = 4,
  All = 5,
};

}  // namespace tqlm
