#include "engine/frames/MpegHeader.h"

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

// What the two version bits select: the row of the bitrate and samples
// tables and the row of the sample-rate table (-1: none).
struct TVersionRow {
    int BitrateRow;
    int SampleRateRow;
};
constexpr std::array<TVersionRow, 4> VersionRows{{
    {1, 2},   // 00: MPEG 2.5
    {-1, -1}, // 01: reserved
    {1, 1},   // 10: MPEG 2
    {0, 0},   // 11: MPEG 1
}};

constexpr TFrameSizeTable MakeFrameSizes()
{
    TFrameSizeTable sizes{};
    for (int version = 0; version < 4; ++version)
        for (int layerCode = 1; layerCode < 4; ++layerCode)
            for (int bitrateIndex = 0; bitrateIndex < 16; ++bitrateIndex)
                for (int rateIndex = 0; rateIndex < 4; ++rateIndex) {
                    const TVersionRow& row = VersionRows[version];
                    const int layer = 4 - layerCode;
                    if (row.BitrateRow < 0)
                        continue;
                    const int64_t bitrate = BitrateTable[row.BitrateRow][layer - 1][bitrateIndex];
                    const int64_t rate = SampleRateTable[row.SampleRateRow][rateIndex];
                    if (bitrate == 0 || rate == 0)
                        continue;
                    const int64_t samples = SamplesPerFrameTable[row.BitrateRow][layer - 1];
                    TFrameSize& size = sizes[version][layerCode][bitrateIndex][rateIndex];
                    // Layer I counts in 4-byte slots of 32 samples; the others
                    // in bytes: samples / 8 x bitrate / rate, truncated.
                    size.Length = static_cast<int32_t>(layer == 1 ? 12 * bitrate * 1000 / rate * 4
                                                                  : samples * 125 * bitrate / rate);
                    size.SamplesPerFrame = static_cast<int32_t>(samples);
                    size.DurationTicks = TStreamTime::FromSamples(samples, rate).Ticks;
                }
    return sizes;
}

} // namespace

constinit const TFrameSizeTable FrameSizes = MakeFrameSizes();

double VersionNumber(TMpegVersion version)
{
    switch (version) {
    case TMpegVersion::Mpeg1: return 1.0;
    case TMpegVersion::Mpeg2: return 2.0;
    case TMpegVersion::Mpeg25: return 2.5;
    case TMpegVersion::Reserved: break;
    }
    return 0.0;
}

int TMpegHeader::Bitrate() const
{
    const TVersionRow& row = VersionRows[static_cast<size_t>(Version())];
    if (row.BitrateRow < 0 || Layer() == 4)
        return 0;
    return BitrateTable[static_cast<size_t>(row.BitrateRow)][static_cast<size_t>(Layer() - 1)]
                       [static_cast<size_t>(BitrateIndex())];
}

int TMpegHeader::SampleRate() const
{
    const TVersionRow& row = VersionRows[static_cast<size_t>(Version())];
    if (row.SampleRateRow < 0)
        return 0;
    return SampleRateTable[static_cast<size_t>(row.SampleRateRow)][static_cast<size_t>(SampleRateIndex())];
}

} // namespace vivizu
