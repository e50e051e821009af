#include "engine/decode/ScalefactorLevels.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace vivizu {
namespace {

// Reads bits from the frame's start, most significant first; -1 past its end.
class TBitReader {
public:
    TBitReader(std::span<const uint8_t> bytes, size_t bit) : FBytes(bytes), FBit(bit) {}

    int Read(int count)
    {
        int value = 0;
        for (int i = 0; i < count; ++i, ++FBit) {
            const size_t byte = FBit / 8;
            if (byte >= FBytes.size())
                return -1;
            value = value << 1 | ((FBytes[byte] >> (7 - FBit % 8)) & 1);
        }
        return value;
    }

private:
    std::span<const uint8_t> FBytes;
    size_t FBit;
};

// Layer II's bit allocation tables: how many subbands get an allocation and
// the width of each one's allocation field, chosen by the bit rate per
// channel and the sample rate (MPEG-1), or the one table of MPEG-2 and 2.5.
struct TAllocationTable {
    int Subbands;
    std::array<uint8_t, 32> Widths;
};

constexpr TAllocationTable Table27{27, {4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 2, 2, 2, 2}};
constexpr TAllocationTable Table30{
    30, {4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 2, 2, 2, 2, 2, 2, 2}};
constexpr TAllocationTable Table8{8, {4, 4, 3, 3, 3, 3, 3, 3}};
constexpr TAllocationTable Table12{12, {4, 4, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3}};
constexpr TAllocationTable TableLowRate{
    30, {4, 4, 4, 4, 3, 3, 3, 3, 3, 3, 3, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2, 2}};
constexpr TAllocationTable LayerOne{
    32, {4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4}};

const TAllocationTable& AllocationTable(TMpegHeader header)
{
    if (header.Layer() == 1)
        return LayerOne;
    if (!header.IsMpeg1())
        return TableLowRate;
    const int perChannel = header.Bitrate() / header.Channels();
    const int rate = header.SampleRate();
    if ((rate == 48000 && perChannel >= 56) || (perChannel >= 56 && perChannel <= 80))
        return Table27;
    if (rate != 48000 && perChannel >= 96)
        return Table30;
    if (rate != 32000 && perChannel <= 48)
        return Table8;
    return Table12;
}

// Scalefactor index 0 stands for 2.0, and each step down is 2^(-1/3).
double ScalefactorDb(int index)
{
    return 20.0 * std::log10(2.0) * (1.0 - index / 3.0);
}

} // namespace

double ScalefactorFrameDb(std::span<const uint8_t> frame, TMpegHeader header)
{
    const int layer = header.Layer();
    if (layer != 1 && layer != 2)
        return std::numeric_limits<double>::quiet_NaN();
    const TAllocationTable& table = AllocationTable(header);
    const int channels = header.Channels();
    // In joint stereo the subbands from the bound on share one allocation.
    int bound = table.Subbands;
    if (header.ChannelMode() == TChannelMode::JointStereo)
        bound = std::min(table.Subbands, 4 + 4 * header.ModeExtension());

    TBitReader bits(frame, header.HasCrc() ? 48 : 32);
    std::array<std::array<int, 32>, 2> allocation{};
    for (int sb = 0; sb < table.Subbands; ++sb) {
        for (int ch = 0; ch < (sb < bound ? channels : 1); ++ch)
            allocation[ch][sb] = bits.Read(table.Widths[sb]);
        if (sb >= bound && channels == 2)
            allocation[1][sb] = allocation[0][sb];
    }
    // Layer II says per subband how many of its three scalefactors it sends.
    std::array<std::array<int, 32>, 2> selection{};
    for (int sb = 0; sb < table.Subbands && layer == 2; ++sb)
        for (int ch = 0; ch < channels; ++ch)
            if (allocation[ch][sb] != 0)
                selection[ch][sb] = bits.Read(2);

    int loudest = 63;
    bool any = false;
    for (int sb = 0; sb < table.Subbands; ++sb)
        for (int ch = 0; ch < channels; ++ch) {
            if (allocation[ch][sb] < 0 || selection[ch][sb] < 0)
                return std::numeric_limits<double>::quiet_NaN();
            if (allocation[ch][sb] == 0)
                continue;
            const int count = layer == 1 ? 1 : selection[ch][sb] == 0 ? 3 : selection[ch][sb] == 2 ? 1 : 2;
            for (int k = 0; k < count; ++k) {
                const int index = bits.Read(6);
                if (index < 0)
                    return std::numeric_limits<double>::quiet_NaN();
                loudest = std::min(loudest, index);
                any = true;
            }
        }
    return any ? ScalefactorDb(loudest) : -std::numeric_limits<double>::infinity();
}

} // namespace vivizu
