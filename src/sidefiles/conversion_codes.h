// The conversion-code document of the legacy class: every value translation
// of qxlgy115, grouped by code.
#pragma once

#include <string>

#include "core/component.h"
#include "sidefiles/side_file.h"

namespace tqlm {

// <CONVERSION-CODES><code>ival-oval~|~ival-oval</code>...</CONVERSION-CODES>
// on one line, each pair escaped. False after logging its own error line.
bool Create_Conversion_Code_XML(Component& c, std::string& text);

// The document's two files in the output folder: xConversionCodes (Base64
// of the trimmed text) and xConversionCodes.XML (the trimmed text). No trap:
// errors reach the run's.
SideFiles ConversionCodeFiles(const Component& c, const std::string& text);

}  // namespace tqlm
