// The conversion-code document of the legacy class: every value translation
// of qxlgy115, grouped by code.
#pragma once

#include <string>

#include "core/component.h"

namespace tqlm {

// <CONVERSION-CODES><code>ival-oval~|~ival-oval</code>...</CONVERSION-CODES>
// on one line, each pair escaped. False after logging its own error line.
bool Create_Conversion_Code_XML(Component& c, std::string& text);

// Stores the document twice in the output folder: xConversionCodes (Base64
// of the trimmed text, an old file deleted first) and xConversionCodes.XML
// (the trimmed text). No trap: errors reach the run's, and neither name then
// holds a file.
void WriteConversionCodeFiles(const Component& c, const std::string& text);

}  // namespace tqlm
