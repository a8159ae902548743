// Conversion between UTF-8 (repository, command line, file names) and the
// single-byte Windows-1252 text used inside the component; and between
// UTF-8 and UTF-16 (the wide text of database drivers).
#pragma once

#include <string>
#include <string_view>

#include <tqlm/text.h>

namespace tqlm {

// Utf8ToAnsi into `out`, whose room is reused.
void Utf8ToAnsi(std::string_view utf8, std::string& out);

// Every byte of a malformed UTF-8 sequence becomes "?".
std::u16string Utf8ToUtf16(std::string_view utf8);
// A surrogate pair is one character; a lone surrogate is encoded as it
// stands, so that it reads as three characters without a Windows-1252 form.
std::string Utf16ToUtf8(std::u16string_view utf16);

// The same conversions as through UTF-8, in one pass: Windows-1252 to
// UTF-16, and UTF-16 to Windows-1252 ("?" for a character it lacks, "???"
// for a lone surrogate, as its three UTF-8 bytes would give).
std::u16string AnsiToUtf16(std::string_view ansi);
std::string Utf16ToAnsi(std::u16string_view utf16);

}  // namespace tqlm
