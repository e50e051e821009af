#pragma once
// Layer III frames borrow the start of their audio data from the frames
// before them (the bit reservoir). A cut that begins with a borrowing frame
// needs those bytes: the reservoir frame is a silent frame of the same stream
// whose data area ends with exactly them.
#include "engine/frames/MpegHeader.h"
#include <cstdint>
#include <span>
#include <vector>

namespace vivizu {

// How many bytes before its own data area the Layer III frame frame[]
// begins its audio data (main_data_begin); 0 when the frame is too short.
int MainDataBegin(std::span<const uint8_t> frame);

// A frame with the version, sample rate, channel mode and protection of
// header (a CRC, sealed, when header has one), side information that decodes
// to silence, and a data area that ends with
// tail: the smallest bitrate whose frame holds tail. Empty when no bitrate
// holds it.
std::vector<uint8_t> BuildReservoirFrame(TMpegHeader header, std::span<const uint8_t> tail);

} // namespace vivizu
