#pragma once
// The tag page's texts as the cut request takes them.
#include <QString>
#include <cstdint>
#include <string>

namespace vivizu {

// text in the system's ANSI code page, cut to at most n bytes without
// splitting a double-byte character. Characters the code page cannot hold
// become "?".
std::string CutToBytes(const QString& text, int n);

// The track field as a track number: leading blanks skipped, then a signed
// decimal whole number and nothing else; 0 for anything else and for a
// number outside 1 ... 255.
uint8_t TrackFieldNumber(const QString& text);

// Copies bytes into a zero-filled tag field of N bytes (at most N of them).
template <std::size_t N>
void PutTagField(char (&field)[N], const std::string& bytes) {
    bytes.copy(field, N);
}

} // namespace vivizu
