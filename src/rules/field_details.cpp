#include "rules/field_details.h"

#include "core/error_trap.h"
#include "platform/text.h"

namespace tqlm {

namespace {

struct Values {
  std::string initial;
  std::string defaultValue;
};

// The generator compares the type letter as it is.
Values GeneratorValues(const FieldDetails& f) {
  const std::string& type = f.typeLetter;
  std::string def = f.defaultValue;
  if (type == "D" || type == "F") {
    if (Trim(def).empty())
      def = "0.0";
    else if (IsNumeric(def) && InStr(def, ".") == 0)
      def += ".0";
    return {"0.0", def};
  }
  if (type == "S" || type == "M") {
    if (!Trim(def).empty() && InStr(def, "\"") == 0) def = "\"" + def + "\"";
    return {EmptyStringValue(f.length), def};
  }
  if (type == "T" || type == "K") {
    std::string initial = type == "T" ? "utc(0,0,2)" : "utc(0,0)";
    if (Trim(def) == "0") def = initial;
    return {initial, def};
  }
  return {"0", def};
}

// The length text as a Long: empty is 0, anything not numeric raises 13.
VbLong FieldLength(std::string_view length) { return length.empty() ? 0 : CLngText(length); }

}  // namespace

void Store_Field_Details_in_Dictionary(Component& c, const FieldDetails& f) {
  Trapped(c, kGeneratorTrap, [&] {
    const Values values = GeneratorValues(f);
    const VbLong length = FieldLength(f.length);
    auto add = [&](const std::string& name) {
      CFieldInfo info;
      info.StrFieldName = name;
      info.StrDomainName = f.domainName;
      info.StrInitialValue = values.initial;
      info.StrDefaultValue = Trim(values.defaultValue).empty() ? values.initial : values.defaultValue;
      info.IntDepth = CInt(static_cast<long long>(f.depth));
      info.StrFieldAlign = f.alignment;
      info.IntFieldLength = length;
      info.StrFieldType = f.typeLetter;
      info.StrFieldCase = f.caseCode;
      info.StrTableName = f.tableName;
      info.StrMandField = f.mandatory;
      std::string key = info.StrTableName + info.StrFieldName;
      c.document.fields.Add(std::move(key), std::move(info));
    };
    if (f.depth == 0) {
      add(f.fieldName);
    } else {
      for (VbLong i = 1; i <= f.depth; ++i) add(f.fieldName + "(" + CStr(static_cast<long long>(i)) + ")");
    }
    return true;
  });
}

}  // namespace tqlm
