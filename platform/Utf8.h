#pragma once
// Well-formed UTF-8: the length of the sequence at a position, and whether
// a whole text is UTF-8 (no overlong forms, surrogates or values past
// U+10FFFF).
#include <cstddef>
#include <string_view>

namespace vivizu {

// The length (1 to 4) of the well-formed UTF-8 sequence that begins at
// text[i], or 0 when none begins there.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i);

// True when every byte sequence of text is well-formed UTF-8.
bool IsUtf8(std::string_view text);

} // namespace vivizu
