// decode: legacy Base64 documents (and xConversionCodes) back to their XML
// text; with --utf8 as UTF-8 with an XML declaration, which XML tools read.
#pragma once

#include "options.h"

namespace tqlm::cli {

// Returns the exit status: 0, 1 when a file could not be read or written,
// 2 when a path is no file or folder, a file is no document of this tool
// (nothing is printed or written then), or --out is a file.
int Decode(const Options& options);

}  // namespace tqlm::cli
