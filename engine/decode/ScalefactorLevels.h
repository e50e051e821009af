#pragma once
// The level of a Layer I or Layer II frame read from its scalefactors,
// without decoding: each subband that gets bits carries a scalefactor (6
// bits, 2 dB a step, index 0 the loudest) that bounds its samples, so the
// smallest index in the frame gives its peak. A frame whose subbands all get
// no bits is silent.
#include "engine/frames/MpegHeader.h"

#include <cstdint>
#include <span>

namespace vivizu {

// The frame's peak level in dB (0 is full scale), or -infinity when no
// subband gets bits; NaN when the frame's bytes end before its scalefactors.
// frame starts with the header.
double ScalefactorFrameDb(std::span<const uint8_t> frame, TMpegHeader header);

// The bytes from a Layer I or II frame's start that hold everything up to
// its last scalefactor, at most.
inline constexpr size_t ScalefactorReach = 4 + 2 + (32 * 2 * 4 + 32 * 2 * 2 + 32 * 2 * 3 * 6) / 8 + 1;

} // namespace vivizu
