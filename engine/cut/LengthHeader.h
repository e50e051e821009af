#pragma once
// The header frame that tells players a stream's length: a silent Layer III
// frame carrying "Xing" (bitrates differ) or "Info" (one bitrate), the frame
// and byte counts, a 100-entry seek table, and the encoder extension with the
// encoder delay and padding that gapless players trim, sealed by its CRC.
#include "engine/frames/MpegHeader.h"
#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace vivizu {

// Samples a decoder outputs before the first sample of the encoded signal,
// beyond the encoder's own delay; players add it to the stored delay.
inline constexpr int DecoderDelay = 529;
// Largest value of the 12-bit delay and padding fields.
inline constexpr int MaxDelayField = 4095;

// What the encoder extension of a header frame tells.
struct TEncoderInfo {
    bool Present = false;   // an extension that decoders honour
    int Delay = 0;          // encoder delay, samples
    int Padding = 0;        // samples added after the signal
    std::array<uint8_t, 9> Version{}; // the encoder's short version text
};

// The extension of the header frame frame[] (as many of its bytes as are at
// hand); Present is false when it has none.
TEncoderInfo ReadEncoderInfo(std::span<const uint8_t> frame);

// CRC-16 as the encoder extension uses it (polynomial 0x8005, reflected,
// starting at 0), continued from crc over bytes.
uint16_t Crc16(uint16_t crc, std::span<const uint8_t> bytes);

struct TLengthHeaderInput {
    TMpegHeader AudioHeader;              // the first audio frame's header
    std::vector<int32_t> FrameLengths;    // every audio frame after the header
    bool Vbr = false;                     // the frames differ in bitrate
    int Delay = 0;                        // clamped to 0 ... 4095
    int Padding = 0;
    uint16_t MusicCrc = 0;                // CRC-16 of the audio frames' bytes
    std::array<uint8_t, 9> Version{};     // written as the encoder's text
};

// Length of the header frame for a stream whose frames look like header:
// the stream's own bitrate when that frame holds the tag, else the smallest
// that does; 0 for a stream that is not Layer III.
int32_t LengthHeaderSize(TMpegHeader header);

// The header frame's bytes, LengthHeaderSize(AudioHeader) of them; with a
// CRC when AudioHeader has one.
std::vector<uint8_t> BuildLengthHeader(const TLengthHeaderInput& in);

} // namespace vivizu
