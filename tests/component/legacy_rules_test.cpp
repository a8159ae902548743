// The legacy rule procedures one by one: the select translation, the
// function library, keyword rewriting, field records, and how the legacy
// section writers fail. Expected texts are worked out from the formatting
// rules by hand (every blank counts).

#include <gtest/gtest.h>

#include <tuple>

#include "core/component.h"
#include "document/dump_tag.h"
#include "document/field_tags.h"
#include "document/precondition_tag.h"
#include "document/variable_tag.h"
#include "rules/field_details.h"
#include "rules/field_rules.h"
#include "rules/function_library.h"
#include "rules/keywords.h"
#include "rules/select_translation.h"
#include "support.h"

namespace tqlm::test {
namespace {

class LegacyRules : public testing::Test {
 protected:
  void SetUp() override {
    Use("");
    c_.services.log = log_;
    c_.services.repository.SetStatementObserver([this](std::string_view s) { statements_.emplace_back(s); });
    c_.run.relatedProfiles = "3,7";
  }
  void Use(const std::string& extraSql) {
    c_.services.repository.SetConnectionString(
        ws_.Repository({"legacy_profiles.sql"}, extraSql, "r" + std::to_string(++n_) + ".db"));
  }
  std::string Rule(std::string_view rule) {
    std::string out = "stale";
    EXPECT_TRUE(Translate_Rule(c_, c_.document.declarations, rule, "ACCOUNTS", "LSRC", out)) << rule << "\n" << log_->text();
    return out;
  }
  static MappingObject Abcus010() {
    return {5, "0100", "01", "STD ", "ab", "cus", "LSRC           ", "LTRG           ", "010", "",
            "customer.txt , orders.csv , ACCOUNTS", false, ""};
  }

  Workspace ws_;
  int n_ = 0;
  Component c_{kLegacyTraits};
  std::shared_ptr<StringTextStream> log_ = std::make_shared<StringTextStream>();
  std::vector<std::string> statements_;
};

TEST_F(LegacyRules, RulesGetUnderscoreNamesAndKeepNumbersAndCaseStatements) {
  EXPECT_EQ(Rule("x = cust.name$ + var.total * 3.5"), " x  =  cust_name  +  var_total  *  3.5   ");
  // The case statement of the rule language is no embedded select.
  EXPECT_EQ(Rule("end select"), " end select   ");
  // A name the declarations know keeps its "$".
  c_.document.declarations = " long cust.name$ ";
  EXPECT_EQ(Rule("cust.name$"), " cust_name$   ");
}

TEST_F(LegacyRules, EmbeddedSelectsAreRewrittenForTheTextDriver) {
  // Text files: the file in brackets; a bare "*" asks for every entry of the
  // table list without its extension, the empty one after its "," too.
  EXPECT_EQ(Rule("select * from orders.csv endselect"), "  select    from [orders#csv]    endselect   ");
  EXPECT_NE(std::find(statements_.begin(), statements_.end(),
                      " select  'orders' + '_' + Replace(flna,'$','')  from qxlgy150  where  appl='LSRC' and  flno = "
                      "'orders'"),
            statements_.end());
  EXPECT_NE(std::find(statements_.begin(), statements_.end(),
                      " select  '' + '_' + Replace(flna,'$','')  from qxlgy150  where  appl='LSRC' and  flno = ''"),
            statements_.end());
  // Any other word with a "*" stands for the table before it: count(*)
  // asks for the fields of the file "(", which has none, and goes.
  EXPECT_EQ(Rule("select count(*) from orders.txt selectdo"),
            "  select count    from [orders#txt]    selectdo   ");
  EXPECT_NE(std::find(statements_.begin(), statements_.end(),
                      " select  '(' + '_' + Replace(flna,'$','') from qxlgy150  where  appl='LSRC' and   flno "
                      "in('(.txt','(.csv') order by seqn"),
            statements_.end());
  // A table's fields with their aliases; a column with " as " keeps it.
  EXPECT_EQ(Rule("select ACCOUNTS.* from ACCOUNTS endselect"),
            " select ACCOUNTS.ACCNO  as ACCOUNTS_ACCNO   from ACCOUNTS     endselect   ");
  // Columns get aliases; a dot inside a literal survives; a qualifier that
  // is no table of the statement becomes a name.
  EXPECT_EQ(Rule("select a.x, \"p.q\" from t a where a.y = b.z selectdo"),
            " select a.x   as a_x  ,  &quot;p.q&quot; as   &quot;p.q&quot;  from t a where a.y  =  b_z     selectdo   ");
  // Without a block keyword the select runs to the end of the rule.
  EXPECT_EQ(Rule("select x from t"), " select x as x  from t       ");
  // An empty select list has no column to alias.
  std::string out;
  ASSERT_TRUE(Translate_Select(c_, " select   from t ", "LSRC", "  ", out));
  EXPECT_EQ(out, "select   from t    ");
  EXPECT_EQ(log_->text(), "");
}

TEST_F(LegacyRules, ASelectWithoutFromFailsTheRuleAndThePreCondition) {
  std::string out;
  EXPECT_FALSE(Translate_Select(c_, "select a", "LSRC", "  ", out));
  EXPECT_EQ(log_->text(), "\t\tERROR:-  5 - Invalid procedure call or argument\r\n");

  MappingObject o = Abcus010();
  o.prtx = "select a selectdo";
  std::string text;
  EXPECT_FALSE(Construct_PreCondition_Tag(c_, c_.document, o, text));
  const std::string undefined = "Application-defined or object-defined error";
  EXPECT_EQ(log_->text(), "\t\tERROR:-  5 - Invalid procedure call or argument\r\n"
                          "\t\tERROR:-  5 - Invalid procedure call or argument\r\n"
                          "\t\tERROR:-  125 - " + undefined + "\r\n"
                          "ERROR: 125-" + undefined);
  EXPECT_EQ(c_.run.errorDescription, "ERROR: 125-" + undefined);
}

TEST_F(LegacyRules, IncludesPullLibraryFunctionsOutsideCommentsAndLiterals) {
  std::string text = "a ' #include <calc_tax>\r\ns = \"#include <calc_tax>\"\r\n#include < calc_tax >\r\nb";
  std::string functions, tables = "x.txt";
  Process_Includes(c_, text, functions, tables);
  EXPECT_EQ(text, "a ' #include <calc_tax>\r\ns = \"#include <calc_tax>\"\r\n\r\nb");
  // The higher related profile owns it; its table declaration moves out.
  EXPECT_EQ(functions, "\r\nfunction calc_tax(x)\r\n\r\ncalc_tax = x * 2\r\nend function");
  EXPECT_EQ(tables, "x.txt , RATES");

  // A checked-out version is taken only when the client asks for one.
  Use("UPDATE qxmap100 SET scme = 'Y' WHERE mprf = 7;"
      "INSERT INTO qxmap105 (mprf, dver, drel, dcus) VALUES (7, '0701', '01', 'STD ');"
      "INSERT INTO qxlib100 (mprf, vers, rele, cust, fnam, fdef) VALUES (7, '0701', '01', 'STD ', 'CALC_TAX', 'new');");
  std::string none;
  EXPECT_EQ(Get_Function_Definition(c_, "calc_tax", none), "function calc_tax(x)\r\n\r\ncalc_tax = x * 2\r\nend function");
  c_.settings.considerCheckedOutVersions = kTrue;
  EXPECT_EQ(Get_Function_Definition(c_, "calc_tax", none), "new");
}

TEST_F(LegacyRules, IncludeFailuresFailTheVariableSection) {
  const std::pair<const char*, const char*> cases[] = {
      {"#include calc_tax", "\t\tERROR:-  1000 - Function name missing\r\n"},
      {"#include <nope>", "\t\tERROR:-  1000 - nopeFunction does not exist in the function repository.\r\n"},
  };
  for (const auto& [vari, line] : cases) {
    Use(std::string("UPDATE qxmap120 SET vari = '") + vari + "' WHERE mprf = 5 AND tflno = '010';");
    MappingObject o = Abcus010();
    std::string text;
    EXPECT_FALSE(Construct_Variable_Tag(c_, c_.document, o, text, ""));
    EXPECT_EQ(log_->text(), line);
    EXPECT_EQ(c_.run.errorDescription, line);
    *log_ = StringTextStream();
  }
}

TEST_F(LegacyRules, KeywordsInLegacyRules) {
  std::string out;
  // Assignments of empty() or default() are refused, with the rule as hint.
  EXPECT_FALSE(Replace_Empty_Default_Target(c_, c_.document.declarations, "LSRC", "LTRG", "x = empty()\r\n", out));
  EXPECT_EQ(out, "");
  const std::string line =
      "\t\tERROR:in Replace_Empty_Default()  ErrNo. 124:empty,default keywords are not supported for user defined "
      "variables in non-tarsk profiles.\r\nHint : for rules x = empty()\r\n";
  EXPECT_EQ(log_->text(), line + "\r\n");
  EXPECT_EQ(c_.run.errorDescription, line);
  // A legacy target application has no constants to look up.
  c_.run.legacyApplication = true;
  ASSERT_TRUE(Replace_Empty_Default_Target(c_, c_.document.declarations, "LSRC", "LTRG", "target(abflag.on)", out));
  EXPECT_EQ(out, "target(abflag.on)");
}

TEST_F(LegacyRules, FieldRecordsOfTheLegacyClass) {
  FieldDetails f;
  f.tableName = "abcus010";
  f.alignment = f.caseCode = " ";
  // Type letter, length and default; the record's "initial|default|length".
  const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
      // A string's space() holds the length text as it came; only a value
      // above 5000 puts 5000 there. The value, half to even, is the length.
      {"s", "6000", "", "space(5000)|space(5000)|5000"},
      {"S", "5001", "", "space(5000)|space(5000)|5000"},
      {"S", "5000.5", "", "space(5000.5)|space(5000.5)|5000"},
      {"S", "6.5", "ab", "space(6.5)|\"ab\"|6"},
      {"M", "", "", "space()|space()|0"},
      {"m", "1,000", "", "space(1,000)|space(1,000)|1000"},
      {"M", "4", "\"q\"", "space(4)|\"q\"|4"},
      {"L", "", "12abc", "0|12|0"},
      {"K", "22", "", "0|\"\"|22"},
      {"U", "1", "7", "0|0|1"},
      {"Z", "1", "", "0|0|1"},
  };
  int n = 0;
  for (const auto& [type, length, defaultValue, record] : cases) {
    f.fieldName = "f" + std::to_string(++n);
    f.typeLetter = type;
    f.length = length;
    f.defaultValue = defaultValue;
    Store_Field_Details_in_Dictionary(c_, c_.document.fields, f);
    const CFieldInfo* info = c_.document.fields.Find("abcus010" + f.fieldName);
    ASSERT_NE(info, nullptr) << type;
    EXPECT_EQ(info->StrInitialValue + "|" + info->StrDefaultValue + "|" + std::to_string(info->IntFieldLength), record);
  }
  // A length that is no number gives no record and a line that names the field.
  f.fieldName = "bad";
  f.length = "x";
  Store_Field_Details_in_Dictionary(c_, c_.document.fields, f);
  EXPECT_EQ(c_.document.fields.Find("abcus010bad"), nullptr);
  EXPECT_EQ(log_->text(), "\t\tERROR in Store_Field_Details_in_Dictionary:-  13 - Type mismatchHint : for field bad\r\n");
}

TEST_F(LegacyRules, AStringFieldWithoutLengthGetsAnEmptySpaceInItsDumpElements) {
  // A string domain without length: the field's initial value and its
  // default are space() with nothing between the brackets.
  Use("INSERT INTO qxddi220 (appl, cpac, cdom, type, leng) VALUES ('LTRG', 'ab', 'memo', 's', NULL);"
      "INSERT INTO qxddi150 (appl, cpac, cmod, flno, fdnm, fdno, cdom, iniv, dept, mand, comb) VALUES"
      " ('LTRG', 'ab', 'cus', '010', 'note', 5, 'abmemo', NULL, 0, 'N', 'N');"
      "INSERT INTO qxmap140 (mprf, vers, rele, cust, tcpac, tcmod, tflno, fdnm, mrul, type, dnum) VALUES"
      " (5, '0100', '01', 'STD ', 'ab', 'cus', '010', 'note', 'default()', 0, 2);");
  std::string fields, dumps;
  ASSERT_TRUE(Construct_Field_Tags(c_, c_.document.fields, "LTRG           ", "ab", "cus", "010", fields)) << log_->text();
  ASSERT_TRUE(Construct_Dump_Tag(c_, c_.document, Abcus010(), false, dumps)) << log_->text();
  const std::string dump2 = dumps.substr(dumps.find("<DUMP-2 "));
  // Unmapped in dump 1: the initial value; mapped in dump 2: the default.
  EXPECT_NE(dumps.substr(0, dumps.size() - dump2.size()).find("<NOTE TYPE = \"0\">ObjCnv.CheckEmpty(space())</NOTE>\r\n"),
            std::string::npos) << dumps;
  EXPECT_NE(dump2.find("<NOTE TYPE = \"0\">ObjCnv.CheckEmpty(space())</NOTE>\r\n"), std::string::npos) << dumps;
}

TEST_F(LegacyRules, ElementsOfUnmappedFieldsAndRulesOfOtherTypes) {
  CFieldInfo f;
  f.StrInitialValue = "Now_To_UTC(x)";
  f.StrFieldType = "k";
  EXPECT_EQ(LegacyUnmappedElement(f, "D"), "<D TYPE = \"0\">now_ObjCnv.to_utc(x)</D>\r\n");
  f.StrFieldType = "M";
  f.StrInitialValue = "space(3)";
  EXPECT_EQ(LegacyUnmappedElement(f, "S"), "<S TYPE = \"0\">ObjCnv.CheckEmpty(space(3))</S>\r\n");
  CDumpInfo rule;
  rule.IntFieldType = 2;
  rule.StrMapRule = "r";
  EXPECT_EQ(LegacyMappedElement(MappingObject{}, f, rule, "S"), "r</S>\r\n");
}

TEST_F(LegacyRules, AFieldRuleThatCannotBeTranslatedFailsTheDumps) {
  Use("UPDATE qxmap140 SET mrul = 'select a selectdo' WHERE fdnm = 'id';");
  std::string text;
  EXPECT_FALSE(Construct_Dump_Tag(c_, c_.document, Abcus010(), false, text));
  EXPECT_EQ(c_.run.errorDescription,
            "\t\tERROR in Construct_Dump_Tag :- 126 - Error in the rules :select a selectdo\r\n");
}

}  // namespace
}  // namespace tqlm::test
