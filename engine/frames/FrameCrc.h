#pragma once
// The protection word of a Layer III frame whose header's protection bit is
// cleared: two bytes right after the header, a CRC-16 with polynomial
// 0x8005 from 0xFFFF over header bytes 2 and 3 and the side information.
// Every writer that changes or makes such a frame seals it with this.
#include "engine/frames/MpegHeader.h"
#include <cstdint>
#include <span>

namespace vivizu {

// The word for frame (header included; at least MainDataOffset() bytes).
uint16_t FrameCrc(std::span<const uint8_t> frame, TMpegHeader header);

// Writes FrameCrc into bytes 4 and 5 when header has a CRC; a frame without
// one, or too short for its side information, is left alone.
void SealFrameCrc(std::span<uint8_t> frame, TMpegHeader header);

} // namespace vivizu
