#include "engine/cut/ReservoirFrame.h"

#include "engine/frames/FrameCrc.h"
#include "engine/frames/SideInfo.h"

#include <algorithm>

namespace vivizu {
namespace {

// Where the last place a header frame's tag can sit ends.
constexpr size_t HeaderTagEnd = 40;

} // namespace

int MainDataBegin(std::span<const uint8_t> frame)
{
    if (frame.size() < 4)
        return 0;
    return ReadSideInfo(frame, TMpegHeader::At(frame.data())).MainDataBegin;
}

std::vector<uint8_t> BuildReservoirFrame(TMpegHeader header, std::span<const uint8_t> tail)
{
    // No padding, no private bit, no mode extension (nothing is coded); the
    // other fields, the protection among them, as the stream has them.
    constexpr uint32_t Kept = HeaderMask::Sync | HeaderMask::Version | HeaderMask::Layer | HeaderMask::NoCrc |
                              HeaderMask::SampleRate | HeaderMask::Mode | HeaderMask::Copyright |
                              HeaderMask::Original | HeaderMask::Emphasis;
    const TMpegHeader silent(header.Bits() & Kept);
    const size_t dataAt = static_cast<size_t>(silent.MainDataOffset());
    for (int index = 1; index <= 14; ++index) {
        const TMpegHeader b = silent.WithBitrateIndex(index);
        const int32_t length = b.FrameLength();
        // Bytes 36-39 stay zero as well, so that the frame is never taken
        // for a header frame whatever the borrowed bytes say.
        if (length <= 0 || static_cast<size_t>(length) < std::max<size_t>(dataAt, HeaderTagEnd) + tail.size())
            continue;
        // Zero side information: data begins here, every granule and channel
        // codes no bits, so the frame decodes to silence.
        std::vector<uint8_t> frame(static_cast<size_t>(length), 0);
        const auto bytes = b.Bytes();
        std::copy(bytes.begin(), bytes.end(), frame.begin());
        std::copy(tail.begin(), tail.end(), frame.end() - static_cast<std::ptrdiff_t>(tail.size()));
        SealFrameCrc(frame, b);
        return frame;
    }
    return {};
}

} // namespace vivizu
