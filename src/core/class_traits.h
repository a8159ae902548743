// What tells the two public classes apart where the difference is data: the
// shapes of their error lines, the texts of their headers and statements,
// widths, delimiter sets, how documents are stored. One value per class,
// chosen when the object is created; the procedures read it instead of
// asking which class they serve. Where the classes run different
// algorithms, the procedure's file holds one function per class side by
// side and `kind` picks one.
#pragma once

#include <string>
#include <string_view>

#include "core/trap_style.h"
#include "platform/vb_types.h"

namespace tqlm {

enum class ClassKind { Generator, Legacy };

// The standard error lines of the two classes:
// TAB TAB "ERROR:" number ":" description, as a line, and
// TAB TAB "ERROR:- " number " - " description CR LF, as text.
inline constexpr TrapStyle kGeneratorTrap{"\t\tERROR:", ":", "", LogCall::WriteLine, true};
inline constexpr TrapStyle kLegacyTrap{"\t\tERROR:- ", " - ", "\r\n", LogCall::Write, true};

// Integer (16-bit) or Long (32-bit); a value outside raises 6.
enum class NumberWidth { Integer, Long };

enum class DocumentStorage {
  PlainText,  // base name + ".XML", the document's bytes
  Base64,     // bare base name, an old file deleted first, Base64 of the trimmed document
};

struct ClassTraits {
  ClassKind kind;

  // A new object's values.
  std::string_view initialStatusList;
  VbBoolean initialTraverse;
  // Range bounds kept lower-cased in fixed width (package 2, module 3, table
  // number as the last three characters of "000" & value, blanks when never
  // set), or lower-cased packages and modules and table numbers as given.
  bool fixedWidthBounds;

  // Profile numbers, depths and counters of the run; field depths.
  NumberWidth numberWidth;
  // Table numbers of codes read back (M-script members and parents): three
  // characters, or 0 for the rest of the code.
  long tableNumberWidth;

  // Error lines: most procedures, the run, the document writers.
  TrapStyle standardTrap;
  TrapStyle runTrap;
  TrapStyle createXmlTrap;
  TrapStyle mscriptTrap;
  TrapStyle mscriptInfoTrap;
  TrapStyle mscriptDumpsTrap;

  // Documents.
  std::string_view documentType;  // the TYPE attribute of a mapping-object header
  bool checkFragments;            // every non-blank section checked for well-formedness
  DocumentStorage storage;
  std::string_view infoTableClose;  // what follows "</" & element of the target table in INFO
  bool infoListsSourceTables;       // SOURCETABLES closes the INFO section

  // Data-dictionary statements that differ only in their column lists.
  std::string_view fieldSelect;
  std::string_view childFieldSelect;
  // Mapping statements that differ in their spacing and order: the
  // object's functions, and its source queries around the object's keys.
  std::string_view functionSelect;
  std::string_view sourceQuerySelect, sourceQueryOrder;
  bool trimsDomainValues;  // every domain value but the type trimmed, else only the digits before

  // Free-text formatting.
  std::string_view delimiters;
  bool rejectsUnclosedQuote;            // an unclosed double quote raises 124
  const TrapStyle* formatStringTrap;    // null: errors travel to the caller

  // Run log.
  std::string_view objectNoun;  // of the "Started exporting the ..." line
  LogCall noMappingsCall;       // the WARNING text written as a line or as text
  bool reportsMScriptCount;     // the summary's M-script line
};

extern const ClassTraits kGeneratorTraits;
extern const ClassTraits kLegacyTraits;

// A number read from the repository in the class's width.
VbLong ClassNumber(const ClassTraits& traits, double value);
// A table number in the class's width (as read where the class has none).
std::string ClassTableNumber(const ClassTraits& traits, const std::string& flno);

}  // namespace tqlm
