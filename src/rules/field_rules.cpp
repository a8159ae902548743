// Field rules of the generator class, written for the data-dictionary
// engine: string fields get case, alignment and emptiness conversions,
// enumeration and date fields their own wrappers.

#include "rules/field_rules.h"

#include "dictionary/domains.h"
#include "platform/text.h"
#include "rules/field_details.h"
#include "rules/keywords.h"
#include "rules/xml_escape.h"

namespace tqlm {

namespace {

constexpr std::string_view kQuote = "\"";
constexpr std::string_view kEmptyTest = "&quot;&quot;";

std::string WithoutBlanks(std::string_view s) { return Replace(s, " ", ""); }

// "x|y" keeps "x" as the rule and sets "|y" aside as a suffix.
std::string SplitSuffix(std::string& rule) {
  const long bar = InStr(rule, "|");
  if (bar == 0) return {};
  std::string suffix = Mid(rule, bar);
  rule = Left(rule, bar - 1);
  return suffix;
}

// A rule without an opening parenthesis calls nothing: the searches for
// calls below need not fold its case or drop its blanks.
bool MayCall(const std::string& rule) { return rule.find('(') != std::string::npos; }

void ReplaceDefaultCall(std::string& rule, const CFieldInfo& f) {
  if (!MayCall(rule)) return;
  std::string noBlanks = WithoutBlanks(rule);
  if (InStr(LCase(noBlanks), "default()") > 0) rule = Replace(noBlanks, "default()", f.StrDefaultValue, Compare::Text);
}

void ReplaceEmptyCall(std::string& rule, const CFieldInfo& f) {
  const bool blank = rule.find_first_not_of(' ') == std::string::npos;
  if (!blank && !MayCall(rule)) return;
  std::string noBlanks = WithoutBlanks(rule);
  if (blank || InStr(LCase(noBlanks), "empty()") > 0)
    rule = ReplaceFirst(noBlanks, "empty()", f.StrInitialValue, Compare::Text);
}

// pppmmmnnn.field: a source field reference of the data dictionary.
bool IsSourceFieldReference(const std::string& rule) {
  return Len(rule) > 9 && Mid(rule, 9, 1) == "." && IsNumeric(Mid(rule, 6, 3));
}

std::string EmptyTest(const std::string& value, VbLong length, const std::string& otherwise) {
  return "(" + value + ")=" + std::string(kEmptyTest) + " ? empty.string(1;" + CStr(static_cast<long long>(length)) +
         "):" + otherwise;
}

std::string OpenTag(const std::string& name, VbInteger type) {
  return "<" + name + " TYPE = " + std::string(kQuote) + CStr(static_cast<long long>(type)) + std::string(kQuote);
}

std::string StringVariable(const CFieldInfo& f, const std::string& tbl, const std::string& rule) {
  const std::string length = CStr(static_cast<long long>(f.IntFieldLength));
  std::string e = "var." + tbl + "." + rule;
  if (f.StrFieldCase == "U") e = "toupper$(" + e + ")";
  if (f.StrFieldCase == "L") e = "tolower$(" + e + ")";
  if (f.StrFieldAlign == "L") e = "Left.Align(" + e + "," + length + ")";
  if (f.StrFieldAlign == "R") e = "Right.Align(" + e + "," + length + ")";
  if (UCase(f.StrFieldType) == "M") e = "to.native(" + e + ")";
  return EmptyTest(e, f.IntFieldLength, e);
}

bool IsStringField(const CFieldInfo& f) {
  const std::string ft = UCase(f.StrFieldType);
  return ft == "S" || ft == "M";
}

// A string rule that may name a source field: its domain is looked up.
bool MayNameSourceField(const std::string& r) {
  return InStr(r, "\"") == 0 && InStr(r, "(") == 0 && InStr(r, "empty.string", Compare::Text) == 0 &&
         !Trim(r).empty() && Trim(r) != "0" && !IsNumeric(r);
}

// The conversions a string field needs, judged against the source field's
// domain when the rule is a plain reference to one.
std::string StringExpression(Component& c, const MappingObject& o, const CFieldInfo& f, std::string r) {
  SourceDomain source;
  if (MayNameSourceField(r)) Get_Domain_Details(c, Trim(r), o.sapp, source);
  ReplaceDefaultCall(r, f);
  if (const long p = MayCall(r) ? InStr(WithoutBlanks(r), "target(", Compare::Text) : 0; p > 0) {
    r = WithoutBlanks(r);
    const long close = InStr(p, r, ")");
    r = Left(r, p - 1) + Get_Enum_Constant(c, o.tapp, Mid(r, p, close - p + 1)) + Mid(r, close + 1);
  }
  ReplaceEmptyCall(r, f);
  const bool reference = IsSourceFieldReference(r);
  if (Trim(r).empty() || r == "0" || InStr(r, kEmptyStringCall, Compare::Text) > 0 ||
      InStr(r, "empty.string", Compare::Text) > 0)
    return r;
  const std::string length = CStr(static_cast<long long>(f.IntFieldLength));
  if (!Trim(source.type).empty() && source.type != "M" && source.type != "S") r = "str$(" + r + ")";
  if (source.caseCode != f.StrFieldCase) {
    if (f.StrFieldCase == "U" && InStr(r, "toupper$") == 0) r = "toupper$(" + r + ")";
    else if (f.StrFieldCase == "L" && InStr(r, "tolower$") == 0) r = "tolower$(" + r + ")";
  }
  if (source.alignment != f.StrFieldAlign) {
    if (f.StrFieldAlign == "L" && InStr(r, "Left.Align") == 0) r = "Left.Align(" + r + "," + length + ")";
    else if (f.StrFieldAlign == "R" && InStr(r, "Right.Align") == 0) r = "Right.Align(" + r + "," + length + ")";
  } else if (f.StrFieldAlign == "R" && source.length != 0 && source.length < f.IntFieldLength) {
    r = "Right.Align(" + r + "," + length + ")";
  }
  if (UCase(f.StrFieldType) == "M") r = "to.native(" + r + ")";
  if (!reference) r = EmptyTest(r, f.IntFieldLength, r);
  return r;
}

// Mandatory enumeration fields read from a source field fall back to the
// default when the source holds 0.
std::string EnumerationFallback(const CFieldInfo& f, const std::string& r) {
  if (UCase(f.StrFieldType) != "E" || f.StrMandField != "Y" || Len(r) <= 9) return r;
  if (Left(r, 5) == "etol(" && Len(r) >= 14) {
    if (Mid(r, 14, 1) == "." && IsNumeric(Mid(r, 11, 3))) return r + "= 0  ? default(): " + r;
    return r;
  }
  if (Mid(r, 9, 1) == "." && IsNumeric(Mid(r, 6, 3))) return "etol(" + r + ") = 0 ? default(): etol(" + r + ")";
  return r;
}

std::string OtherExpression(Component& c, std::string_view declarations, const MappingObject& o, const CFieldInfo& f,
                            std::string r) {
  ReplaceDefaultCall(r, f);
  if (MayCall(r) && InStr(WithoutBlanks(r), "target(", Compare::Text) > 0) {
    std::string rewritten;
    Replace_Empty_Default_Target(c, declarations, o.sapp, o.tapp, WithoutBlanks(r), rewritten);
    r = rewritten;
  }
  ReplaceEmptyCall(r, f);
  if (f.StrMandField == "Y" && UCase(f.StrFieldType) == "K") r = "MANDUTC(" + Trim(r) + ")";
  return r;
}

}  // namespace

std::string FieldElementName(const std::string& fieldName) {
  std::string name;
  name.reserve(fieldName.size());
  for (char ch : fieldName) {
    if (ch == '(') name += '-';
    else if (ch != ')') name += ch;
  }
  return UCase(name);
}

std::string GeneratorUnmappedElement(const CFieldInfo& f, const std::string& name) {
  const bool mandatoryDate = f.StrMandField == "Y" && UCase(f.StrFieldType) == "K";
  const std::string value = mandatoryDate ? "MANDUTC(" + f.StrInitialValue + ")" : f.StrInitialValue;
  return "<" + name + " TYPE = \"0\"><VALUE>" + value + "</VALUE></" + name + ">\r\n";
}

Statement GeneratorSourceDomainStatement(const MappingObject& o, const CFieldInfo& f, const CDumpInfo& rule) {
  if (rule.IntFieldType != 0 || !IsStringField(f)) return {};
  std::string r = rule.StrMapRule;
  SplitSuffix(r);
  return MayNameSourceField(r) ? SourceDomainStatement(Trim(r), o.sapp) : Statement();
}

std::string GeneratorMappedElement(Component& c, std::string_view declarations, const MappingObject& o,
                                   const CFieldInfo& f, const CDumpInfo& rule, const std::string& name) {
  const VbInteger type = rule.IntFieldType;
  const std::string tbl = o.TableCode();
  const std::string ft = UCase(f.StrFieldType);
  const bool stringField = IsStringField(f);
  std::string element;
  std::string r = rule.StrMapRule;
  if (type == 1) {
    // The rule names a variable of the target table.
    std::string variable;
    if (stringField)
      variable = StringVariable(f, tbl, r);
    else if (f.StrMandField == "Y" && ft == "K")
      variable = "MANDUTC(var." + tbl + "." + r + ")";
    else
      variable = "var." + tbl + "." + r;
    element = OpenTag(name, type) + " TVAR = \"" + variable + "\"> ";
  } else if (type == 0) {
    const std::string suffix = SplitSuffix(r);
    if (!stringField) r = EnumerationFallback(f, r);
    element = OpenTag(name, type) + ">";
    r = stringField ? StringExpression(c, o, f, r) : OtherExpression(c, declarations, o, f, r);
    if (!Trim(suffix).empty()) r += "\t" + suffix;
  }
  // Any other type gets no open tag; the document then fails its check.
  return element + "<VALUE>" + EscapeAmpLtGt(r) + "</VALUE></" + name + ">\r\n";
}

namespace {

// A date-time value converted by the engine's conversion object: the
// conversion named in the value gets its object, else the value is wrapped.
std::string Converted(const std::string& value, std::string_view conversion) {
  const std::string object = "ObjCnv." + std::string(conversion);
  if (InStr(LCase(value), conversion) > 0) return Replace(LCase(value), conversion, object);
  return object + "(" + value + ")";
}

// Case and alignment of a legacy string value, then its emptiness check.
std::string LegacyString(const CFieldInfo& f, std::string v, bool wrap) {
  if (wrap) {
    const std::string length = CStr(static_cast<long long>(f.IntFieldLength));
    if (f.StrFieldCase == "U") v = "Ucase(" + v + ")";
    else if (f.StrFieldCase == "L") v = "Lcase(" + v + ")";
    if (f.StrFieldAlign == "L") v = "ObjCnv.Left_Align(" + v + "," + length + ")";
    else if (f.StrFieldAlign == "R") v = "ObjCnv.Right_Align(" + v + "," + length + ")";
    else if (f.StrFieldAlign == "C") v = "ObjCnv.Center_Align(" + v + "," + length + ")";
    else v = "Mid(" + v + ",1," + length + ")";
  }
  return "ObjCnv.CheckEmpty(" + v + ")";
}

}  // namespace

std::string LegacyUnmappedElement(const CFieldInfo& f, const std::string& name) {
  const std::string ft = UCase(f.StrFieldType);
  std::string value = f.StrInitialValue;
  if (ft == "K") value = Converted(value, "to_utc");
  else if (ft == "T") value = Converted(value, "to_date");
  else if (ft == "S" || ft == "M") value = "ObjCnv.CheckEmpty(" + value + ")";
  return "<" + name + " TYPE = \"0\">" + value + "</" + name + ">\r\n";
}

std::string LegacyMappedElement(const MappingObject& o, const CFieldInfo& f, const CDumpInfo& rule,
                                const std::string& name) {
  const std::string ft = UCase(f.StrFieldType);
  const bool stringField = ft == "S" || ft == "M";
  std::string r = rule.StrMapRule;
  std::string element;
  if (rule.IntFieldType == 1) {
    // The rule names a variable of the target table.
    std::string v = o.tcpac + o.tcmod == "qxtbl" ? "var_" + Replace(o.tflno, ".", "_") + "_" + r
                                                  : "var_" + o.TableCode() + "_" + r;
    if (ft == "K") v = "ObjCnv.to_utc(" + v + ")";
    else if (ft == "T") v = "ObjCnv.to_date(" + v + ")";
    else if (stringField) v = LegacyString(f, v, true);
    element = OpenTag(name, rule.IntFieldType) + " TVAR = \"" + v + "\"> " + r;
  } else if (rule.IntFieldType == 0) {
    ReplaceEmptyCall(r, f);
    ReplaceDefaultCall(r, f);
    if (ft == "K") r = Converted(r, "to_utc");
    else if (ft == "T") r = Converted(r, "to_date");
    else if (stringField) r = LegacyString(f, r, InStr(LCase(r), "space(") == 0);
    element = OpenTag(name, rule.IntFieldType) + ">" + r;
  } else {
    element = r;  // any other type gets no open tag
  }
  return element + "</" + name + ">\r\n";
}

}  // namespace tqlm
