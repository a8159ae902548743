// Conversion between UTF-8 (repository, command line, file names) and the
// single-byte Windows-1252 text used inside the component; and between
// UTF-8 and UTF-16 (the wide text of database drivers).
#pragma once

#include <string>
#include <string_view>

#include <tqlm/text.h>

namespace tqlm {


// Every byte of a malformed UTF-8 sequence becomes "?".
std::u16string Utf8ToUtf16(std::string_view utf8);
// A surrogate pair is one character; a lone surrogate is encoded as it
// stands, so that it reads as three characters without a Windows-1252 form.
std::string Utf16ToUtf8(std::u16string_view utf16);

}  // namespace tqlm
