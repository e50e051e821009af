#pragma once
// MPEG audio frame headers: the four header bytes decoded into the stream
// properties, the frame's length in bytes and its play time.
#include "engine/StreamTime.h"
#include <array>
#include <cstdint>

namespace vivizu {

struct TMpegFrameHeader {
    double Version = 0.0;        // 1.0, 2.0 or 2.5; 0.0 for the reserved code
    int32_t Layer = 0;           // 1, 2 or 3; 4 for the reserved code
    int32_t Bitrate = 0;         // kbit/s; 0 when the index has no table entry
    int32_t SampleRate = 0;      // Hz; 0 when the index has no table entry
    int32_t Padding = 0;         // the padding bit
    bool Mono = false;           // channel mode 3 (single channel)
    int32_t SamplesPerFrame = 0;
    int32_t FrameLength = 0;     // bytes including the 4 header bytes
    double FrameDurationMs = 0.0;
    TStreamTime FrameDuration;   // the same play time, exact
    // False when a field holds a code the tables have no entry for (reserved
    // version or layer, bitrate index 0 or 15, sample-rate index 3). Such a
    // header is not a frame: its length and duration are 0.
    bool InTables = false;
};

// Decodes the four header bytes b[0..3] (the caller has seen b[0] = 0xFF).
TMpegFrameHeader DecodeFrameHeader(const uint8_t* b);

// Just the length and play time DecodeFrameHeader gives for b (length 0 for
// a header with no table entry): the walk over a whole stream needs no more.
struct TFrameExtent {
    int32_t Length = 0;
    double DurationMs = 0.0;
    TStreamTime Duration;
};

// Frame length without padding and play time for every combination of the
// version, layer, bitrate and sample-rate codes, worked out from the tables
// when the program is compiled (length 0: no entry). FrameExtentOf is a
// look-up in it, inline, as the walk calls it for every frame.
struct TFrameSize {
    int32_t Length;
    double DurationMs;
    int64_t DurationTicks;
};
using TFrameSizeTable = std::array<std::array<std::array<std::array<TFrameSize, 4>, 16>, 4>, 4>;
extern const TFrameSizeTable FrameSizes; // [version][layer code][bitrate index][rate index]

inline TFrameExtent FrameExtentOf(const uint8_t* b)
{
    const int layerCode = (b[1] >> 1) & 3;
    const TFrameSize& size = FrameSizes[(b[1] >> 3) & 3][layerCode][(b[2] >> 4) & 15][(b[2] >> 2) & 3];
    if (size.Length == 0)
        return {};
    // Padding adds one byte, or one 4-byte slot in Layer I (layer code 3).
    const int32_t padding = (b[2] >> 1) & 1;
    return {size.Length + padding * (layerCode == 3 ? 4 : 1), size.DurationMs, {size.DurationTicks}};
}

// Size of an ID3v2 tag (without its 10-byte header) from the four size bytes
// at offsets 6-9 of the tag header: seven bits per byte, high byte first.
int32_t ID3v2TagSize(const uint8_t* sizeBytes);

// Bytes the whole ID3v2 tag takes, from its 10-byte header: the header, the
// size it gives and, for a version 2.4 tag with the footer flag set, the
// 10-byte footer after it.
int64_t ID3v2TagLength(const uint8_t* header);

} // namespace vivizu
