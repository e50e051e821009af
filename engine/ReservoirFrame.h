#pragma once
// Layer III frames borrow the start of their audio data from the frames
// before them (the bit reservoir). A cut that begins with a borrowing frame
// needs those bytes: the reservoir frame is a silent frame of the same stream
// whose data area ends with exactly them.
#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace vivizu {

// Bytes of side information after the header (and its CRC) of a Layer III
// frame with header bytes b.
int SideInfoSize(const uint8_t* b);

// Offset of the audio data area in a Layer III frame with header bytes b.
int MainDataOffset(const uint8_t* b);

// How many bytes before its own data area the Layer III frame frame[]
// begins its audio data (main_data_begin); 0 when the frame is too short.
int MainDataBegin(std::span<const uint8_t> frame);

// The most main_data_begin can reach: 511 bytes for MPEG 1, 255 for 2 / 2.5.
int MaxReservoirReach(const uint8_t* b);

// A frame with header fields (version, sample rate, channel mode) from
// header[], no CRC, side information that decodes to silence, and a data
// area that ends with tail: the smallest bitrate whose frame holds tail.
// Empty when no bitrate holds it.
std::vector<uint8_t> BuildReservoirFrame(const std::array<uint8_t, 4>& header,
                                         std::span<const uint8_t> tail);

} // namespace vivizu
