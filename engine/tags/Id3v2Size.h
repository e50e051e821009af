#pragma once
// The sizes an ID3v2 tag header gives.
#include <cstdint>

namespace vivizu {

// Size of an ID3v2 tag (without its 10-byte header) from the four size bytes
// at offsets 6-9 of the tag header: seven bits per byte, high byte first.
inline int32_t ID3v2TagSize(const uint8_t* s)
{
    return ((s[0] & 0x7F) << 21) | ((s[1] & 0x7F) << 14) | ((s[2] & 0x7F) << 7) | (s[3] & 0x7F);
}

// Bytes the whole ID3v2 tag takes, from its 10-byte header: the header, the
// size it gives and, for a version 2.4 tag with the footer flag set, the
// 10-byte footer after it.
inline int64_t ID3v2TagLength(const uint8_t* header)
{
    constexpr int HeaderSize = 10, FooterSize = 10;
    constexpr uint8_t FooterFlag = 0x10;
    const bool footer = header[3] == 4 && (header[5] & FooterFlag) != 0;
    return HeaderSize + int64_t{ID3v2TagSize(header + 6)} + (footer ? FooterSize : 0);
}

} // namespace vivizu
