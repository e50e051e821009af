#include "engine/ReservoirFrame.h"

#include "engine/FrameHeader.h"

#include <algorithm>

namespace vivizu {
namespace {

// Where the last place a header frame's tag can sit ends.
constexpr size_t HeaderTagEnd = 40;

bool IsMpeg1(const uint8_t* b)
{
    return ((b[1] >> 3) & 3) == 3;
}

bool IsMono(const uint8_t* b)
{
    return ((b[3] >> 6) & 3) == 3;
}

bool HasCrc(const uint8_t* b)
{
    return (b[1] & 1) == 0;
}

} // namespace

int SideInfoSize(const uint8_t* b)
{
    if (IsMpeg1(b))
        return IsMono(b) ? 17 : 32;
    return IsMono(b) ? 9 : 17;
}

int MainDataOffset(const uint8_t* b)
{
    return 4 + (HasCrc(b) ? 2 : 0) + SideInfoSize(b);
}

int MainDataBegin(std::span<const uint8_t> frame)
{
    if (frame.size() < 4)
        return 0;
    const size_t side = HasCrc(frame.data()) ? 6 : 4;
    if (frame.size() < side + 2)
        return 0;
    if (IsMpeg1(frame.data()))
        return (frame[side] << 1) | (frame[side + 1] >> 7);
    return frame[side];
}

int MaxReservoirReach(const uint8_t* b)
{
    return IsMpeg1(b) ? 511 : 255;
}

std::vector<uint8_t> BuildReservoirFrame(const std::array<uint8_t, 4>& header,
                                         std::span<const uint8_t> tail)
{
    std::array<uint8_t, 4> b = header;
    b[1] |= 0x01;                                // no CRC
    b[2] &= 0x0C;                                // keep the sample rate only
    b[3] = static_cast<uint8_t>(b[3] & 0xCF);    // no mode extension: nothing is coded
    const size_t dataAt = static_cast<size_t>(MainDataOffset(b.data()));
    for (int index = 1; index <= 14; ++index) {
        b[2] = static_cast<uint8_t>((index << 4) | (header[2] & 0x0C));
        const int32_t length = FrameExtentOf(b.data()).Length;
        // Bytes 36-39 stay zero as well, so that the frame is never taken
        // for a header frame whatever the borrowed bytes say.
        if (length <= 0 || static_cast<size_t>(length) < std::max<size_t>(dataAt, HeaderTagEnd) + tail.size())
            continue;
        // Zero side information: data begins here, every granule and channel
        // codes no bits, so the frame decodes to silence.
        std::vector<uint8_t> frame(static_cast<size_t>(length), 0);
        std::copy(b.begin(), b.end(), frame.begin());
        std::copy(tail.begin(), tail.end(), frame.end() - static_cast<std::ptrdiff_t>(tail.size()));
        return frame;
    }
    return {};
}

} // namespace vivizu
