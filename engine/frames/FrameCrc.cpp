#include "engine/frames/FrameCrc.h"

namespace vivizu {
namespace {

uint16_t CrcStep(uint16_t crc, uint8_t byte)
{
    for (int i = 7; i >= 0; --i) {
        const bool top = ((crc >> 15) ^ (byte >> i)) & 1;
        crc = static_cast<uint16_t>(crc << 1);
        if (top)
            crc ^= 0x8005;
    }
    return crc;
}

} // namespace

uint16_t FrameCrc(std::span<const uint8_t> frame, TMpegHeader header)
{
    uint16_t crc = 0xFFFF;
    crc = CrcStep(crc, frame[2]);
    crc = CrcStep(crc, frame[3]);
    const size_t from = header.HasCrc() ? 6 : 4;
    for (size_t i = from; i < from + static_cast<size_t>(header.SideInfoSize()); ++i)
        crc = CrcStep(crc, frame[i]);
    return crc;
}

void SealFrameCrc(std::span<uint8_t> frame, TMpegHeader header)
{
    if (!header.HasCrc() || frame.size() < static_cast<size_t>(header.MainDataOffset()))
        return;
    const uint16_t crc = FrameCrc(frame, header);
    frame[4] = static_cast<uint8_t>(crc >> 8);
    frame[5] = static_cast<uint8_t>(crc);
}

} // namespace vivizu
