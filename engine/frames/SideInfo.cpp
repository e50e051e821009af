#include "engine/frames/SideInfo.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace vivizu {
namespace {

// The side information's bytes, zero-padded so that every read may take
// sixteen bytes at once: this runs for every frame as a file opens.
class TBitCursor {
public:
    explicit TBitCursor(std::span<const uint8_t> bytes)
    {
        std::memcpy(FBytes.data(), bytes.data(), std::min(bytes.size(), MaxSideInfo));
    }
    // The next 64 bits from the cursor, the first in the top bit.
    uint64_t Peek64() const
    {
        uint64_t high = 0, low = 0;
        std::memcpy(&high, FBytes.data() + FBit / 8, sizeof high);
        std::memcpy(&low, FBytes.data() + FBit / 8 + 8, sizeof low);
        if constexpr (std::endian::native == std::endian::little) {
            high = __builtin_bswap64(high);
            low = __builtin_bswap64(low);
        }
        const int shift = static_cast<int>(FBit % 8);
        return shift == 0 ? high : high << shift | low >> (64 - shift);
    }
    int Read(int count)
    {
        const auto value = static_cast<int>(Peek64() >> (64 - count));
        FBit += static_cast<size_t>(count);
        return value;
    }
    void Skip(int count) { FBit += static_cast<size_t>(count); }

private:
    static constexpr size_t MaxSideInfo = 32;
    std::array<uint8_t, MaxSideInfo + 16> FBytes{};
    size_t FBit = 0;
};

// Takes fields off the top of a word that holds them in order.
class TFields {
public:
    explicit TFields(uint64_t word) : FWord(word) {}
    int Take(int count)
    {
        const auto value = static_cast<int>(FWord >> (64 - count));
        FWord <<= count;
        return value;
    }
    bool Flag() { return Take(1) != 0; }

private:
    uint64_t FWord;
};

// Fields in front of the granules' parts: main_data_begin (9 bits in MPEG-1,
// 8 else), the private bits (MPEG-1: 5 mono, 3 stereo; MPEG-2 and 2.5: 1 mono,
// 2 stereo), and in MPEG-1 four scfsi bits per channel.
int PartsStart(TMpegHeader header)
{
    if (header.IsMpeg1())
        return 9 + (header.Mono() ? 5 : 3) + 4 * header.Channels();
    return 8 + (header.Mono() ? 1 : 2);
}

// One granule-and-channel part: part2_3_length 12, big_values 9,
// global_gain 8, scalefac_compress (4 in MPEG-1, 9 else), the window
// switching flag 1 and the 22 bits that follow it either way, then preflag
// (MPEG-1 only), scalefac_scale and count1table_select, one bit each.
int PartBits(TMpegHeader header)
{
    return header.IsMpeg1() ? 12 + 9 + 8 + 4 + 1 + 22 + 3 : 12 + 9 + 8 + 9 + 1 + 22 + 2;
}
constexpr int GlobalGainInPart = 12 + 9;

size_t SideInfoAt(TMpegHeader header) { return header.HasCrc() ? 6 : 4; }

} // namespace

TSideInfo ReadSideInfo(std::span<const uint8_t> frame, TMpegHeader header)
{
    TSideInfo info;
    const size_t at = SideInfoAt(header);
    if (frame.size() < at + 2)
        return info;
    const bool mpeg1 = header.IsMpeg1();
    TBitCursor bits(frame.subspan(at));
    info.MainDataBegin = bits.Read(mpeg1 ? 9 : 8);
    info.Complete = frame.size() >= static_cast<size_t>(header.MainDataOffset());
    if (!info.Complete)
        return info;
    const int channels = header.Channels();
    info.PrivateBits = bits.Read(mpeg1 ? (header.Mono() ? 5 : 3) : (header.Mono() ? 1 : 2));
    if (mpeg1)
        for (int ch = 0; ch < channels; ++ch)
            info.Scfsi[static_cast<size_t>(ch)] = bits.Read(4);
    for (int gr = 0; gr < header.Granules(); ++gr)
        for (int ch = 0; ch < channels; ++ch) {
            TGranuleChannelInfo& g = info.Granule[static_cast<size_t>(gr)][static_cast<size_t>(ch)];
            // A part is 59 bits (MPEG-1) or 63: one word holds all of it.
            TFields f(bits.Peek64());
            bits.Skip(PartBits(header));
            g.Part23Length = f.Take(12);
            g.BigValues = f.Take(9);
            g.GlobalGain = f.Take(8);
            g.ScalefacCompress = f.Take(mpeg1 ? 4 : 9);
            g.WindowSwitching = f.Flag();
            if (g.WindowSwitching) {
                g.BlockType = f.Take(2);
                g.MixedBlock = f.Flag();
                g.TableSelect[0] = f.Take(5);
                g.TableSelect[1] = f.Take(5);
                for (int& gain : g.SubblockGain)
                    gain = f.Take(3);
            } else {
                for (int& table : g.TableSelect)
                    table = f.Take(5);
                g.Region0Count = f.Take(4);
                g.Region1Count = f.Take(3);
            }
            if (mpeg1)
                g.Preflag = f.Flag();
            g.ScalefacScale = f.Flag();
            g.Count1TableSelect = f.Flag();
        }
    return info;
}

int GlobalGainBit(TMpegHeader header, int granule, int channel)
{
    return PartsStart(header) + (granule * header.Channels() + channel) * PartBits(header) + GlobalGainInPart;
}

void WriteGlobalGain(std::span<uint8_t> frame, TMpegHeader header, int granule, int channel, int value)
{
    const std::span<uint8_t> side = frame.subspan(SideInfoAt(header));
    const int bit = GlobalGainBit(header, granule, channel);
    const size_t at = static_cast<size_t>(bit / 8);
    const int shift = bit % 8;
    const unsigned mask = 0xFF00u >> shift;
    const unsigned bits = (static_cast<unsigned>(value) << 8) >> shift;
    side[at] = static_cast<uint8_t>((side[at] & ~(mask >> 8)) | (bits >> 8));
    if (shift > 0)
        side[at + 1] = static_cast<uint8_t>((side[at + 1] & ~mask) | (bits & 0xFF));
}

} // namespace vivizu
