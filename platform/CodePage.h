#pragma once
// The 8-bit code page that ID3v1 tag texts are read and written in: the
// Windows ANSI code page of the user's language (1252 for the western
// languages, 1251 for Cyrillic, 932 for Japanese and so on), with
// conversion to and from the UTF-8 that the rest of the program uses.
#include <cstddef>
#include <string>
#include <string_view>

namespace vivizu {

// The code page used when a locale names no language we know, and for the
// "C" and "POSIX" locales.
inline constexpr int DefaultAnsiCodePage = 1252;

// The ANSI code page of a locale name as setlocale takes it, for example
// "de_DE.UTF-8", "sr_RS@latin" or "zh_TW.Big5": chosen by the language and,
// where the language is written in more than one script, by the territory
// or the modifier. The locale's own character set is not looked at.
int AnsiCodePageOfLocale(std::string_view localeName);

// The ANSI code page of the environment's character-type locale
// (EnvLocaleName("LC_CTYPE")).
int AnsiCodePage();

// True for the double-byte code pages 932, 936, 949 and 950.
bool IsDoubleByteCodePage(int codePage);

// True when byte b begins a two-byte character in codePage; always false
// for a single-byte code page.
bool IsLeadByte(unsigned char b, int codePage);

// The longest prefix of ansiText, at most maxBytes long, that does not end
// inside a double-byte character. Characters are found by walking from the
// first byte, so a trail byte that happens to lie in the lead-byte range is
// not mistaken for the start of a character.
std::string_view CutToBytes(std::string_view ansiText, std::size_t maxBytes, int codePage);

// Converts text in codePage to UTF-8. Bytes that the code page does not
// define become U+FFFD; the conversion never fails.
std::string AnsiToUtf8(std::string_view ansiText, int codePage);

// Converts UTF-8 text to codePage, keeping as many whole characters from
// the start as fit into maxBytes. Characters the code page cannot show
// become '?', and so does each byte of malformed UTF-8.
std::string Utf8ToAnsi(std::string_view utf8Text, int codePage,
                       std::size_t maxBytes = std::string::npos);

} // namespace vivizu
