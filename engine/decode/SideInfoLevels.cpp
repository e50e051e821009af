#include "engine/decode/SideInfoLevels.h"

#include "engine/cut/GainTransform.h"
#include "engine/decode/ScalefactorLevels.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <cmath>
#include <limits>

namespace vivizu {
namespace {

// part2_3_length (12 bits) and big_values (9 bits) come before global_gain
// in every granule's side information.
constexpr int Part23BeforeGain = 21;

int64_t ReadBits(std::span<const uint8_t> bytes, int bit, int count)
{
    // count is at most 29: the bits lie within five bytes. This runs for
    // every granule of every frame as a file opens, so where eight bytes are
    // there they are taken in one load, without a loop or a branch on where
    // the bits fall.
    if (bit < 0 || count <= 0)
        return -1;
    const auto first = static_cast<size_t>(bit / 8);
    const auto last = static_cast<size_t>((bit + count - 1) / 8);
    if (last >= bytes.size())
        return -1;
    uint64_t window = 0;
    if (first + sizeof window <= bytes.size()) {
        std::memcpy(&window, bytes.data() + first, sizeof window);
        if constexpr (std::endian::native == std::endian::little)
            window = __builtin_bswap64(window);
        return static_cast<int64_t>((window << (bit % 8)) >> (64 - count));
    }
    for (size_t i = first; i <= last; ++i)
        window = window << 8 | bytes[i];
    const int shift = static_cast<int>(last - first + 1) * 8 - bit % 8 - count;
    return static_cast<int64_t>((window >> shift) & ((uint64_t{1} << count) - 1));
}

// global_gain 210 is a quantiser step of one. Measured on broadband sound
// (pink noise at known levels, LAME at several rates) a granule's level
// follows the gain at 1.5 dB a step with full scale near step 180; a pure
// tone puts its energy into few lines with a finer step and reads up to
// 50 dB lower, so the scale reaches down to LevelFloorDb. The bits spent on
// the spectrum add a little: more bits, more coded detail.
constexpr int UnitGain = 210;
constexpr double FullScaleOffsetDb = 45.0;
constexpr double LinesPerGranule = 576.0;

} // namespace

double SideInfoGranuleDb(int globalGain, int part23Length)
{
    if (globalGain < 0 || part23Length <= 0)
        return -std::numeric_limits<double>::infinity();
    // part2_3_length has 12 bits: its term comes from a table made once, as
    // this runs for every granule of every channel while a file opens.
    static const std::array<double, 4096> detail = [] {
        std::array<double, 4096> table{};
        for (size_t bits = 0; bits < table.size(); ++bits)
            table[bits] = std::log2(1.0 + static_cast<double>(bits) / LinesPerGranule);
        return table;
    }();
    const double bitsTerm = part23Length < 4096 ? detail[static_cast<size_t>(part23Length)]
                                                : std::log2(1.0 + part23Length / LinesPerGranule);
    return 1.5 * (globalGain - UnitGain) + FullScaleOffsetDb + bitsTerm;
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
                                              int samplesPerPixel)
{
    std::vector<TLevelBlock> blocks;
    if (granuleSamples <= 0 || samplesPerPixel <= 0)
        return blocks;
    const auto total = static_cast<int64_t>(levels.Levels.size()) * granuleSamples;
    for (int64_t start = 0; start < total; start += samplesPerPixel) {
        const int64_t end = std::min(total, start + samplesPerPixel);
        float loudest = 0.0f;
        for (int64_t g = start / granuleSamples; g <= (end - 1) / granuleSamples; ++g)
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

void AppendFrameLevels(std::span<const uint8_t> frame, TMpegHeader header, std::vector<float>& levels)
{
    const int granules = header.Granules();
    if (header.Layer() != 3) {
        // Layers I and II: the frame's scalefactors give its level, the same
        // for each of its parts on the grid.
        const double db = ScalefactorFrameDb(frame, header);
        levels.insert(levels.end(), static_cast<size_t>(granules), std::isnan(db) ? 0.0f : DbToUnitLevel(db));
        return;
    }
    if (frame.size() < static_cast<size_t>(header.MainDataOffset())) {
        levels.insert(levels.end(), static_cast<size_t>(granules), 0.0f);
        return;
    }
    const std::span<const uint8_t> side = frame.subspan(static_cast<size_t>(header.MainDataOffset() - header.SideInfoSize()));
    // Each granule's part of the side information for each channel, granules
    // first, parts of equal length: where global_gain sits in the first and
    // how far apart the parts are, found once per frame.
    const int channels = header.Channels();
    const int first = GlobalGainBit(header, 0, 0);
    const int stride = granules * channels == 1 ? 0
                       : channels > 1           ? GlobalGainBit(header, 0, 1) - first
                                                : GlobalGainBit(header, 1, 0) - first;
    for (int gr = 0; gr < granules; ++gr) {
        double loudest = -std::numeric_limits<double>::infinity();
        for (int ch = 0; ch < channels; ++ch) {
            // part2_3_length, big_values and global_gain in one read.
            const int64_t fields = ReadBits(side, first + (gr * channels + ch) * stride - Part23BeforeGain,
                                            Part23BeforeGain + 8);
            if (fields >= 0)
                loudest = std::max(loudest, SideInfoGranuleDb(static_cast<int>(fields & 0xFF),
                                                              static_cast<int>((fields >> (9 + 8)) & 0xFFF)));
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
