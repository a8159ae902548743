#include "core/class_traits.h"

#include "platform/text.h"

namespace tqlm {

const ClassTraits kGeneratorTraits{
    .kind = ClassKind::Generator,
    .initialStatusList = "VGE",
    .initialTraverse = kTrue,
    .fixedWidthBounds = true,
    .numberWidth = NumberWidth::Integer,
    .tableNumberWidth = 3,
    .standardTrap = kGeneratorTrap,
    .runTrap = {"", "-", "", LogCall::WriteLine, true},
    .createXmlTrap = kGeneratorTrap,
    .mscriptTrap = kGeneratorTrap,
    .mscriptInfoTrap = kGeneratorTrap,
    .mscriptDumpsTrap = kGeneratorTrap,
    .documentType = " TYPE =\"F\"",
    .checkFragments = true,
    .storage = DocumentStorage::PlainText,
    .infoTableClose = ">\r\n",
    .infoListsSourceTables = true,
    .fieldSelect = " select fdnm , cdom , iniv , dept , mand , comb from    qxddi150  ",
    .childFieldSelect = "SELECT * FROM qxddi160  ",
    .functionSelect = " select func from qxmap160  where ",
    .sourceQuerySelect = " select * from qxmap130 where ",
    .sourceQueryOrder = " order by scpac, scmod , sflno ",
    .trimsDomainValues = false,
    .delimiters = "=!#><&*+):(-/?\\",
    .rejectsUnclosedQuote = true,
    .formatStringTrap = &kGeneratorTrap,
    .objectNoun = "Conversion Object",
    .noMappingsCall = LogCall::WriteLine,
    .reportsMScriptCount = true,
};

// The legacy class starts with everything empty and every flag off.
const ClassTraits kLegacyTraits{
    .kind = ClassKind::Legacy,
    .initialStatusList = "",
    .initialTraverse = kFalse,
    .fixedWidthBounds = false,
    .numberWidth = NumberWidth::Long,
    .tableNumberWidth = 0,
    .standardTrap = kLegacyTrap,
    .runTrap = kLegacyTrap,
    .createXmlTrap = {"\t\tERROR in Create_XML:- ", " - ", "\r\n", LogCall::Write, true},
    .mscriptTrap = {"\t\tERROR in Create_MScript_Xml:", ":", "", LogCall::WriteLine, true},
    .mscriptInfoTrap = {"\t\tERROR in Construct_MScript_info_Tag :", ":", "", LogCall::WriteLine, true},
    .mscriptDumpsTrap = {"\t\tERROR in Construct_Dump_Tag :", ":", "", LogCall::WriteLine, true},
    .documentType = " TYPE = \"M\"",
    .checkFragments = false,
    .storage = DocumentStorage::Base64,
    .infoTableClose = ">",
    .infoListsSourceTables = false,
    .fieldSelect = " select fdnm , cdom , iniv , dept , comb, mand from    qxddi150  ",
    .childFieldSelect = "SELECT chld FROM qxddi160  ",
    .functionSelect = " select func from  qxmap160 where ",
    .sourceQuerySelect = " select *  from qxmap130 where ",
    .sourceQueryOrder = " order by scpac, scmod, sflno, icod desc",
    .trimsDomainValues = true,
    .delimiters = "=!#><*+()-/:?\\,",
    .rejectsUnclosedQuote = false,
    .formatStringTrap = nullptr,
    .objectNoun = "Mapping Object",
    .noMappingsCall = LogCall::Write,
    .reportsMScriptCount = false,
};

VbLong ClassNumber(const ClassTraits& traits, double value) {
  return traits.numberWidth == NumberWidth::Integer ? CInt(value) : CLng(value);
}

std::string ClassTableNumber(const ClassTraits& traits, const std::string& flno) {
  return traits.tableNumberWidth > 0 ? FixedLength(flno, traits.tableNumberWidth) : flno;
}

}  // namespace tqlm
