#include "engine/cut/LengthHeader.h"

#include "engine/frames/FrameCrc.h"
#include "engine/frames/FrameWalk.h"

#include <algorithm>
#include <cstring>

namespace vivizu {
namespace {

// The tag's fields after "Xing"/"Info": flags, frames, bytes, seek table,
// quality; then the 36-byte encoder extension, whose last two bytes are the
// CRC of everything before them in the frame.
constexpr int FlagsFrames = 1, FlagsBytes = 2, FlagsToc = 4, FlagsQuality = 8;
constexpr int TocSize = 100;
constexpr int ExtensionOffset = 8 + 4 + 4 + TocSize + 4; // from "Xing"
constexpr int ExtensionSize = 36;

void PutBE32(uint8_t* p, uint32_t v)
{
    p[0] = static_cast<uint8_t>(v >> 24);
    p[1] = static_cast<uint8_t>(v >> 16);
    p[2] = static_cast<uint8_t>(v >> 8);
    p[3] = static_cast<uint8_t>(v);
}

uint32_t GetBE32(const uint8_t* p)
{
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

// The header with another bitrate index, padding and private bit off; the
// protection (CRC or none) of the frames it stands before, so that readers
// that check CRCs find the stream's protection from its first frame on.
TMpegHeader WithBitrate(TMpegHeader h, int index)
{
    return TMpegHeader(h.Bits() & ~(HeaderMask::Padding | HeaderMask::Private)).WithBitrateIndex(index);
}

int32_t NeededSize(TMpegHeader header)
{
    return HeaderFrameTagOffset(header) + ExtensionOffset + ExtensionSize;
}

// The bitrate index the header frame uses.
int HeaderBitrateIndex(TMpegHeader header)
{
    const int32_t needed = NeededSize(header);
    const int own = header.BitrateIndex();
    if (own >= 1 && own <= 14 && WithBitrate(header, own).FrameLength() >= needed)
        return own;
    for (int index = 1; index <= 14; ++index)
        if (WithBitrate(header, index).FrameLength() >= needed)
            return index;
    return 0;
}

} // namespace

uint16_t Crc16(uint16_t crc, std::span<const uint8_t> bytes)
{
    // Eight tables, so that eight bytes take eight look-ups and no shifts
    // through a chain: the music CRC runs over every byte of a cut.
    static const auto tables = [] {
        std::array<std::array<uint16_t, 256>, 8> t{};
        for (unsigned i = 0; i < 256; ++i) {
            unsigned v = i;
            for (int k = 0; k < 8; ++k)
                v = (v & 1) ? (v >> 1) ^ 0xA001 : v >> 1;
            t[0][i] = static_cast<uint16_t>(v);
        }
        for (size_t k = 1; k < 8; ++k)
            for (unsigned i = 0; i < 256; ++i)
                t[k][i] = static_cast<uint16_t>((t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF]);
        return t;
    }();
    const uint8_t* p = bytes.data();
    size_t n = bytes.size();
    for (; n >= 8; p += 8, n -= 8) {
        const uint64_t word = (uint64_t{p[0]} | uint64_t{p[1]} << 8 | uint64_t{p[2]} << 16 |
                               uint64_t{p[3]} << 24 | uint64_t{p[4]} << 32 | uint64_t{p[5]} << 40 |
                               uint64_t{p[6]} << 48 | uint64_t{p[7]} << 56) ^ crc;
        crc = static_cast<uint16_t>(tables[7][word & 0xFF] ^ tables[6][(word >> 8) & 0xFF] ^
                                    tables[5][(word >> 16) & 0xFF] ^ tables[4][(word >> 24) & 0xFF] ^
                                    tables[3][(word >> 32) & 0xFF] ^ tables[2][(word >> 40) & 0xFF] ^
                                    tables[1][(word >> 48) & 0xFF] ^ tables[0][word >> 56]);
    }
    for (; n > 0; ++p, --n)
        crc = static_cast<uint16_t>((crc >> 8) ^ tables[0][(crc ^ *p) & 0xFF]);
    return crc;
}

TEncoderInfo ReadEncoderInfo(std::span<const uint8_t> frame)
{
    TEncoderInfo info;
    if (frame.size() < 4 || frame[0] != 0xFF)
        return info;
    const size_t tag = static_cast<size_t>(HeaderFrameTagOffset(TMpegHeader::At(frame.data())));
    if (frame.size() < tag + 8 ||
        (std::memcmp(&frame[tag], "Xing", 4) != 0 && std::memcmp(&frame[tag], "Info", 4) != 0))
        return info;
    const uint32_t flags = GetBE32(&frame[tag + 4]);
    size_t at = tag + 8;
    if (flags & FlagsFrames) at += 4;
    if (flags & FlagsBytes) at += 4;
    if (flags & FlagsToc) at += TocSize;
    if (flags & FlagsQuality) at += 4;
    if (frame.size() < at + 24)
        return info;
    // Decoders take the delay and padding only from the extensions of the
    // encoders they know to write it.
    const uint8_t* ext = &frame[at];
    if (std::memcmp(ext, "LAME", 4) != 0 && std::memcmp(ext, "Lavf", 4) != 0 &&
        std::memcmp(ext, "Lavc", 4) != 0)
        return info;
    info.Present = true;
    std::copy(ext, ext + 9, info.Version.begin());
    const uint32_t v = (uint32_t{ext[21]} << 16) | (uint32_t{ext[22]} << 8) | ext[23];
    info.Delay = static_cast<int>(v >> 12);
    info.Padding = static_cast<int>(v & 0xFFF);
    return info;
}

int32_t LengthHeaderSize(TMpegHeader header)
{
    if (header.Layer() != 3)
        return 0;
    const int index = HeaderBitrateIndex(header);
    return index == 0 ? 0 : WithBitrate(header, index).FrameLength();
}

std::vector<uint8_t> BuildLengthHeader(const TLengthHeaderInput& in)
{
    const int32_t size = LengthHeaderSize(in.AudioHeader);
    if (size == 0)
        return {};
    std::vector<uint8_t> frame(static_cast<size_t>(size), 0);
    const TMpegHeader header = WithBitrate(in.AudioHeader, HeaderBitrateIndex(in.AudioHeader));
    const auto headerBytes = header.Bytes();
    std::copy(headerBytes.begin(), headerBytes.end(), frame.begin());

    // The side information stays zero: a decoder that does not know the tag
    // plays the frame as silence. The tag sits right after the side
    // information as if there were no CRC (where readers look for it).
    uint8_t* tag = frame.data() + HeaderFrameTagOffset(header);
    std::memcpy(tag, in.Vbr ? "Xing" : "Info", 4);
    PutBE32(tag + 4, FlagsFrames | FlagsBytes | FlagsToc | FlagsQuality);
    PutBE32(tag + 8, static_cast<uint32_t>(in.FrameLengths.size()));
    uint64_t total = static_cast<uint64_t>(size);
    for (const int32_t length : in.FrameLengths)
        total += static_cast<uint64_t>(length);
    PutBE32(tag + 12, static_cast<uint32_t>(std::min<uint64_t>(total, UINT32_MAX)));

    // Seek table: entry i is the byte position (in 256ths of the whole,
    // counted from this frame) of the frame at i percent of the frames.
    const size_t frames = in.FrameLengths.size();
    uint8_t* toc = tag + 16;
    uint64_t position = static_cast<uint64_t>(size);
    size_t next = 0;
    for (int i = 0; i < TocSize; ++i) {
        const size_t target = frames * static_cast<size_t>(i) / TocSize;
        for (; next < target; ++next)
            position += static_cast<uint64_t>(in.FrameLengths[next]);
        toc[i] = static_cast<uint8_t>(std::min<uint64_t>(255, position * 256 / std::max<uint64_t>(total, 1)));
    }
    PutBE32(tag + 116, 0); // quality: unknown

    uint8_t* ext = tag + ExtensionOffset;
    std::copy(in.Version.begin(), in.Version.end(), ext);
    const int delay = std::clamp(in.Delay, 0, MaxDelayField);
    const int padding = std::clamp(in.Padding, 0, MaxDelayField);
    ext[21] = static_cast<uint8_t>(delay >> 4);
    ext[22] = static_cast<uint8_t>(((delay & 0xF) << 4) | (padding >> 8));
    ext[23] = static_cast<uint8_t>(padding & 0xFF);
    PutBE32(ext + 28, static_cast<uint32_t>(std::min<uint64_t>(total, UINT32_MAX)));
    ext[32] = static_cast<uint8_t>(in.MusicCrc >> 8);
    ext[33] = static_cast<uint8_t>(in.MusicCrc);
    // The frame's own protection word covers the side information, which
    // (as encoders write it) holds the first bytes of the tag when there
    // is a CRC; the extension's CRC then covers that word.
    SealFrameCrc(frame, header);
    const size_t crcAt = static_cast<size_t>(ext + 34 - frame.data());
    const uint16_t crc = Crc16(0, std::span<const uint8_t>(frame.data(), crcAt));
    ext[34] = static_cast<uint8_t>(crc >> 8);
    ext[35] = static_cast<uint8_t>(crc);
    return frame;
}

} // namespace vivizu
