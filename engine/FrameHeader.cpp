#include "engine/FrameHeader.h"

#include <array>

namespace vivizu {
namespace {

// Bitrates in kbit/s by [row][layer - 1][bitrate index]. Index 0 (free
// format) and index 15 have no entry and read 0 here.
constexpr std::array<std::array<std::array<int32_t, 16>, 3>, 2> BitrateTable{{
    {{
        // MPEG 1, Layer I
        {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
        // MPEG 1, Layer II
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
        // MPEG 1, Layer III
        {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
    }},
    {{
        // MPEG 2 and 2.5, Layer I
        {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
        // MPEG 2 and 2.5, Layer II
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
        // MPEG 2 and 2.5, Layer III
        {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
    }},
}};

// Sample rates in Hz by [row][sample-rate index]; index 3 is reserved.
constexpr std::array<std::array<int32_t, 4>, 3> SampleRateTable{{
    {44100, 48000, 32000, 0}, // MPEG 1
    {22050, 24000, 16000, 0}, // MPEG 2
    {11025, 12000, 8000, 0},  // MPEG 2.5
}};

// Samples per frame by [row][layer - 1].
constexpr std::array<std::array<int32_t, 3>, 2> SamplesPerFrameTable{{
    {384, 1152, 1152}, // MPEG 1: Layer I, II, III
    {384, 1152, 576},  // MPEG 2 and 2.5: Layer I, II, III
}};

// What the two version bits select: the version number, the row of the
// bitrate and samples tables and the row of the sample-rate table (-1: none).
struct TVersionRow {
    double Version;
    int BitrateRow;
    int SampleRateRow;
};
constexpr std::array<TVersionRow, 4> VersionRows{{
    {2.5, 1, 2},  // 00: MPEG 2.5
    {0.0, -1, -1}, // 01: reserved
    {2.0, 1, 1},  // 10: MPEG 2
    {1.0, 0, 0},  // 11: MPEG 1
}};

} // namespace

TMpegFrameHeader DecodeFrameHeader(const uint8_t* b)
{
    TMpegFrameHeader h;
    const TVersionRow& row = VersionRows[(b[1] >> 3) & 3];
    h.Version = row.Version;
    h.Layer = 4 - ((b[1] >> 1) & 3);
    h.Padding = (b[2] >> 1) & 1;
    h.Mono = ((b[3] >> 6) & 3) == 3;
    if (row.BitrateRow < 0 || h.Layer == 4)
        return h;

    h.Bitrate = BitrateTable[row.BitrateRow][h.Layer - 1][(b[2] >> 4) & 15];
    h.SampleRate = SampleRateTable[row.SampleRateRow][(b[2] >> 2) & 3];
    h.SamplesPerFrame = SamplesPerFrameTable[row.BitrateRow][h.Layer - 1];
    if (h.Bitrate == 0 || h.SampleRate == 0)
        return h;

    h.InTables = true;
    const int64_t bitsPerSecond = int64_t{h.Bitrate} * 1000;
    if (h.Layer == 1) {
        // Layer I counts in 4-byte slots; padding adds one slot.
        h.FrameLength = static_cast<int32_t>((12 * bitsPerSecond / h.SampleRate + h.Padding) * 4);
    } else {
        h.FrameLength = static_cast<int32_t>(int64_t{h.SamplesPerFrame} * 125 * h.Bitrate / h.SampleRate)
                        + h.Padding;
    }
    h.FrameDurationMs = static_cast<double>(h.SamplesPerFrame) * 1000.0 / h.SampleRate;
    return h;
}

int32_t ID3v2TagSize(const uint8_t* s)
{
    return ((s[0] & 0x7F) << 21) | ((s[1] & 0x7F) << 14) | ((s[2] & 0x7F) << 7) | (s[3] & 0x7F);
}

} // namespace vivizu
