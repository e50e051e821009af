#pragma once
// What LoadFile found out about a file.
#include "engine/frames/MpegHeader.h"
#include "engine/tags/Id3v1Tag.h"
#include <cstdint>

namespace vivizu {

struct TMp3StreamInfo {
    int32_t Bitrate = 0;      // kbit/s of the first frame
    int32_t SampleRate = 0;   // Hz
    TMpegVersion Version = TMpegVersion::Reserved;
    int32_t Layer = 0;        // 1..3; 4 for the reserved code
    bool Mono = false;
    int32_t ID3v1Size = 0;    // 128 with an ID3v1 tag at the end
    int32_t ID3v2Size = 0;    // leading ID3v2 tag including its 10-byte header
    int32_t APESize = 0;      // 32 with an APE tag footer
    int32_t LeadingZeros = 0; // zero bytes between the ID3v2 tag and the first frame
    int64_t LengthMs = 0;     // play length in whole milliseconds
    TID3v1Tag Tag{};          // meaningful only when ID3v1Size is 128
};

} // namespace vivizu
