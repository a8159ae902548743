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

// The legacy class compares the type letter upper-cased; strings are at
// most 5000 characters long.
constexpr VbLong kLegacyStringLimit = 5000;

Values LegacyValues(const FieldDetails& f, VbLong& length) {
  const std::string type = UCase(f.typeLetter);
  const std::string& def = f.defaultValue;
  if (type == "B" || type == "E" || type == "I" || type == "L" || type == "D" || type == "F")
    return {"0", def.empty() ? "0" : CStr(Val(def))};
  if (type == "S" || type == "M") {
    // The length text goes into space() as it came (empty, "1,000"); only a
    // value above the limit is replaced, by the limit.
    std::string lengthText = f.length;
    if (length > kLegacyStringLimit) {
      length = kLegacyStringLimit;
      lengthText = CStr(static_cast<long long>(kLegacyStringLimit));
    }
    const std::string space = "space(" + lengthText + ")";
    if (def.empty()) return {space, space};
    return {space, InStr(def, "\"") > 0 ? def : "\"" + def + "\""};
  }
  if (type == "T" || type == "K") return {"0", "\"" + def + "\""};
  if (type == "U") return {"0", "0"};
  return {"0", def.empty() ? "0" : def};
}

// The length text as a Long: empty is 0, anything not numeric raises 13.
VbLong FieldLength(std::string_view length) { return length.empty() ? 0 : CLngText(length); }

// Adds the record of the field, or of each of its `depth` elements. The
// legacy error line names the field being added in `hint`.
void AddRecords(const Component& c, Dictionary<CFieldInfo>& fields, const FieldDetails& f, const Values& values,
                VbLong length, std::string& hint) {
  const bool generator = c.traits.kind == ClassKind::Generator;
  auto add = [&](const std::string& name) {
    if (!generator) hint = "Hint : for field " + f.tableName + "." + name;
    CFieldInfo info;
    info.StrFieldName = name;
    info.StrDomainName = f.domainName;
    info.StrInitialValue = values.initial;
    // The generator puts the initial value in for a blank default.
    info.StrDefaultValue =
        generator && Trim(values.defaultValue).empty() ? values.initial : values.defaultValue;
    info.IntDepth = CInt(static_cast<long long>(f.depth));
    info.StrFieldAlign = f.alignment;
    info.IntFieldLength = length;
    info.StrFieldType = f.typeLetter;
    info.StrFieldCase = f.caseCode;
    info.StrTableName = f.tableName;
    if (generator) info.StrMandField = f.mandatory;
    std::string key = info.StrTableName + info.StrFieldName;
    fields.Add(std::move(key), std::move(info));
  };
  if (f.depth == 0) {
    add(f.fieldName);
  } else {
    for (VbLong i = 1; i <= f.depth; ++i) add(f.fieldName + "(" + CStr(static_cast<long long>(i)) + ")");
  }
}

}  // namespace

constexpr TrapStyle kLegacyFieldTrap{"\t\tERROR in Store_Field_Details_in_Dictionary:- ", " - ", "\r\n",
                                     LogCall::Write, true};

void Store_Field_Details_in_Dictionary(Component& c, Dictionary<CFieldInfo>& fields, const FieldDetails& f) {
  const bool generator = c.traits.kind == ClassKind::Generator;
  // The legacy line names the field: by its plain name until the records
  // are being made, then as table.field.
  std::string hint = generator ? std::string() : "Hint : for field " + f.fieldName;
  Trapped(c, generator ? kGeneratorTrap : kLegacyFieldTrap, [&] {
    VbLong length = FieldLength(f.length);
    const Values values = generator ? GeneratorValues(f) : LegacyValues(f, length);
    AddRecords(c, fields, f, values, length, hint);
    return true;
  }, hint);
}

}  // namespace tqlm
