#pragma once
// The text of a cue sheet as UTF-8, whatever encoding its writer used.
// Sheets come as UTF-8 (with or without a byte-order mark), as UTF-16
// with its byte-order mark, and from older rippers in the 8-bit Windows
// code page of their user's language.
#include "platform/Utf8.h"
#include <string>
#include <string_view>

namespace vivizu {

// The code page an 8-bit sheet (one that is not UTF-8) is read in. Words
// of a Latin script mix ASCII letters with the odd accented one ("Café");
// words of Cyrillic, Greek and the like are made of bytes above 0x7F only.
// Latin-looking text is read in Windows-1252, other text in Windows-1251,
// each unless the locale's code page (localeCodePage) is a page of the
// same kind: then that one. A double-byte locale code page is always used.
int CueSheetCodePage(std::string_view bytes, int localeCodePage);

// bytes converted to UTF-8: a UTF-8 byte-order mark is dropped; UTF-16 is
// recognised by its byte-order mark (or, without one, by the zero bytes of
// its ASCII characters); valid UTF-8 is kept as it is; anything else is
// read in CueSheetCodePage(bytes, localeCodePage).
std::string CueSheetUtf8(std::string_view bytes, int localeCodePage);

} // namespace vivizu
