#include "engine/decode/SideInfoLevels.h"

#include "engine/decode/ScalefactorLevels.h"
#include "engine/frames/SideInfo.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace vivizu {
namespace {

// The model of a granule's decoded peak, fitted (least squares, robust to
// outliers) to libmpg123's decode of LAME's output at 8 to 48 kHz, 8 to 320
// kbit/s and VBR, mono and stereo, on tones, white, pink and brown noise and
// music-like sound. A line's value is its quantised value to the power 4/3
// times 2^((global_gain - 210) / 4), less what the band's scalefactor takes
// off, so the loudest line follows the gain and the largest value the
// Huffman table chosen for the lines that hold values allows. A steady tone puts its energy into few lines
// with large values and a fine step; noise into many lines with small values
// and a coarse step: the table tells them apart where the gain alone cannot.
// The terms, in dB:
constexpr int UnitGain = 210;
constexpr double PerGainStep = 1.278;       // times (global_gain - 210)
constexpr double PerTableDoubling = 6.585;  // times log2(1 + the table's largest value)
constexpr double PerBitsDoubling = 0.940;   // times log2(1 + part2_3_length)
constexpr double MidSide = -2.339;          // the middle channel is louder than left or right
constexpr double ScalefacScale = -4.506;    // coarser scalefactors take more off
constexpr double ShortBlocks = -6.325;
constexpr double PerScalefactorBit = -0.700; // times MPEG-1's slen1 + slen2
constexpr double Mpeg1 = 0.292;
constexpr double Offset = -7.56;
// A short block's window with subblock_gain g is quantised 2^(-2g) finer:
// 8 steps of global_gain each.
constexpr int GainStepsPerSubblockGain = 8;

// The largest value each Huffman table codes (tables 4 and 14 do not exist),
// the last sixteen with their linbits.
constexpr std::array<int, 32> TableLargest = {
    0, 1, 2, 2, 0, 3, 3, 5, 5, 5, 7, 7, 7, 15, 0, 15,
    15 + (1 << 1) - 1, 15 + (1 << 2) - 1, 15 + (1 << 3) - 1, 15 + (1 << 4) - 1,
    15 + (1 << 6) - 1, 15 + (1 << 8) - 1, 15 + (1 << 10) - 1, 15 + (1 << 13) - 1,
    15 + (1 << 4) - 1, 15 + (1 << 5) - 1, 15 + (1 << 6) - 1, 15 + (1 << 7) - 1,
    15 + (1 << 8) - 1, 15 + (1 << 9) - 1, 15 + (1 << 11) - 1, 15 + (1 << 13) - 1};

// MPEG-1's scalefac_compress: the bits of the scalefactors of the low bands
// and of the high ones, added.
// The first line of each long block's scalefactor band, and the end: where
// the regions of the big values end, which may leave the second and the
// third region (and their tables) without a line. MPEG-1 at 44.1, 48 and 32
// kHz, MPEG-2 at 22.05, 24 and 16 kHz, MPEG-2.5 at 11.025, 12 and 8 kHz.
using TBandStarts = std::array<int16_t, 23>;
constexpr TBandStarts Mpeg2Bands = {0, 6, 12, 18, 24, 30, 36, 44, 54, 66, 80, 96,
                                    116, 140, 168, 200, 238, 284, 336, 396, 464, 522, 576};
constexpr std::array<TBandStarts, 9> LongBandStarts = {{
    {0, 4, 8, 12, 16, 20, 24, 30, 36, 44, 52, 62, 74, 90, 110, 134, 162, 196, 238, 288, 342, 418, 576},
    {0, 4, 8, 12, 16, 20, 24, 30, 36, 42, 50, 60, 72, 88, 106, 128, 156, 190, 230, 276, 330, 384, 576},
    {0, 4, 8, 12, 16, 20, 24, 30, 36, 44, 54, 66, 82, 102, 126, 156, 194, 240, 296, 364, 448, 550, 576},
    Mpeg2Bands,
    {0, 6, 12, 18, 24, 30, 36, 44, 54, 66, 80, 96, 114, 136, 162, 194, 232, 278, 332, 394, 464, 540, 576},
    Mpeg2Bands,
    Mpeg2Bands,
    Mpeg2Bands,
    {0, 12, 24, 36, 48, 60, 72, 88, 108, 132, 160, 192, 232, 280, 336, 400, 476, 566, 568, 570, 572, 574, 576},
}};
// With window switching the second region starts here.
constexpr int SwitchedRegionStart = 36;

const TBandStarts& BandStartsOf(TMpegHeader header)
{
    const int family = header.IsMpeg1() ? 0 : header.Version() == TMpegVersion::Mpeg2 ? 1 : 2;
    return LongBandStarts[static_cast<size_t>(family * 3 + std::min(header.SampleRateIndex(), 2))];
}

int LargerTable(int a, int b) { return TableLargest[static_cast<size_t>(a)] >= TableLargest[static_cast<size_t>(b)] ? a : b; }

constexpr std::array<int, 16> ScalefactorBits = {0, 1, 2, 3, 3, 2, 3, 4, 3, 4, 5, 4, 5, 6, 6, 7};

} // namespace

double SideInfoGranuleDb(const TGranuleSideInfo& granule, bool mpeg1, bool midSide)
{
    if (granule.GlobalGain < 0 || granule.Part23Length <= 0)
        return -std::numeric_limits<double>::infinity();
    // Logarithms from tables made once: this runs for every granule of
    // every channel while a file opens. part2_3_length has 12 bits.
    static const std::array<double, 4096> bitsTerm = [] {
        std::array<double, 4096> table{};
        for (size_t bits = 0; bits < table.size(); ++bits)
            table[bits] = PerBitsDoubling * std::log2(1.0 + static_cast<double>(bits));
        return table;
    }();
    static const std::array<double, 32> tableTerm = [] {
        std::array<double, 32> table{};
        for (size_t t = 0; t < table.size(); ++t)
            table[t] = PerTableDoubling * std::log2(1.0 + TableLargest[t]);
        return table;
    }();
    const int gain = granule.GlobalGain - (granule.ShortBlocks ? GainStepsPerSubblockGain * granule.SubblockGain : 0);
    double db = PerGainStep * (gain - UnitGain) + tableTerm[static_cast<size_t>(granule.LargestTable & 31)]
                + bitsTerm[static_cast<size_t>(std::min(granule.Part23Length, 4095))] + Offset;
    if (midSide)
        db += MidSide;
    if (granule.ScalefacScale)
        db += ScalefacScale;
    if (granule.ShortBlocks)
        db += ShortBlocks;
    if (mpeg1)
        db += Mpeg1 + PerScalefactorBit * ScalefactorBits[static_cast<size_t>(granule.ScalefacCompress & 15)];
    return db;
}

float DbToUnitLevel(double db)
{
    if (!(db > LevelFloorDb))
        return 0.0f;
    // A product, not a quotient: this runs for every granule as a file opens.
    constexpr double PerDb = 1.0 / -LevelFloorDb;
    return static_cast<float>(std::min(1.0, (db - LevelFloorDb) * PerDb));
}

float UnitLevelToAmplitude(float level)
{
    if (!(level > 0.0f))
        return 0.0f;
    return static_cast<float>(std::pow(10.0, (LevelFloorDb - LevelFloorDb * level) / 20.0));
}

std::vector<TLevelBlock> EstimatedLevelBlocks(const TGranuleLevels& levels, int granuleSamples,
                                              int samplesPerPixel, TSampleTrim trim)
{
    std::vector<TLevelBlock> blocks;
    if (granuleSamples <= 0 || samplesPerPixel <= 0)
        return blocks;
    // Samples counted from the first one kept; skip: where that one lies.
    const auto all = static_cast<int64_t>(levels.Levels.size()) * granuleSamples;
    const int64_t skip = std::clamp<int64_t>(trim.Skip, 0, all);
    const int64_t total = trim.Keep >= 0 ? std::min(all - skip, trim.Keep) : all - skip;
    for (int64_t start = 0; start < total; start += samplesPerPixel) {
        const int64_t end = std::min(total, start + samplesPerPixel);
        float loudest = 0.0f;
        for (int64_t g = (skip + start) / granuleSamples; g <= (skip + end - 1) / granuleSamples; ++g)
            loudest = std::max(loudest, levels.Levels[static_cast<size_t>(g)]);
        const float amplitude = std::min(UnitLevelToAmplitude(loudest), 32767.0f / 32768.0f);
        TLevelBlock block;
        block.Start = start;
        block.Count = static_cast<int32_t>(end - start);
        block.Mix = {-amplitude, amplitude, amplitude, amplitude};
        block.Channel = {block.Mix, block.Mix};
        blocks.push_back(block);
    }
    return blocks;
}

void AppendFrameLevels(std::span<const uint8_t> frame, TMpegHeader header, TUnitLevels& levels)
{
    const int granules = header.Granules();
    if (header.Layer() != 3) {
        // Layers I and II: the frame's scalefactors give its level, the same
        // for each of its parts on the grid.
        const double db = ScalefactorFrameDb(frame, header);
        levels.insert_back(static_cast<size_t>(granules), std::isnan(db) ? 0.0f : DbToUnitLevel(db));
        return;
    }
    if (frame.size() < static_cast<size_t>(header.MainDataOffset())) {
        levels.insert_back(static_cast<size_t>(granules), 0.0f);
        return;
    }
    const TSideInfo side = ReadSideInfo(frame, header);
    const int channels = header.Channels();
    const bool mpeg1 = header.IsMpeg1();
    const bool midSide = header.ChannelMode() == TChannelMode::JointStereo && (header.ModeExtension() & 2) != 0;
    const TBandStarts& bands = BandStartsOf(header);
    for (int gr = 0; gr < granules; ++gr) {
        double loudest = -std::numeric_limits<double>::infinity();
        for (int ch = 0; ch < channels; ++ch) {
            const TGranuleChannelInfo& coded = side.Granule[static_cast<size_t>(gr)][static_cast<size_t>(ch)];
            TGranuleSideInfo granule;
            granule.Part23Length = coded.Part23Length;
            granule.GlobalGain = coded.GlobalGain;
            if (mpeg1)
                granule.ScalefacCompress = coded.ScalefacCompress;
            const std::array<int, 3>& table = coded.TableSelect;
            // The tables of the regions that hold lines: 2 * big_values of them.
            const int lines = 2 * coded.BigValues;
            if (coded.WindowSwitching) {
                granule.ShortBlocks = coded.BlockType == 2;
                granule.SubblockGain = std::min({coded.SubblockGain[0], coded.SubblockGain[1], coded.SubblockGain[2]});
                granule.LargestTable = lines > SwitchedRegionStart ? LargerTable(table[0], table[1]) : table[0];
            } else {
                const auto region0 = static_cast<size_t>(coded.Region0Count);
                const auto region1 = static_cast<size_t>(coded.Region1Count);
                const int end0 = bands[std::min<size_t>(region0 + 1, 22)];
                const int end1 = bands[std::min<size_t>(region0 + region1 + 2, 22)];
                granule.LargestTable = table[0];
                if (lines > end0)
                    granule.LargestTable = LargerTable(granule.LargestTable, table[1]);
                if (lines > end1)
                    granule.LargestTable = LargerTable(granule.LargestTable, table[2]);
            }
            if (lines == 0)
                granule.LargestTable = 0;
            granule.ScalefacScale = coded.ScalefacScale;
            loudest = std::max(loudest, SideInfoGranuleDb(granule, mpeg1, midSide));
        }
        levels.push_back(DbToUnitLevel(loudest));
    }
}

size_t FrameLevelsReach()
{
    // Layer III looks no further than its side information (at most 4 + 2 + 32 bytes).
    return std::max<size_t>(ScalefactorReach, 4 + 2 + 32);
}

} // namespace vivizu
