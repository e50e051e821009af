#pragma once
// An MPEG audio frame header as a value: the 32 header bits with named masks
// for every field, and what follows from them (frame length, samples per
// frame, play time, the size of the Layer III side information). Every part
// of the engine that looks at header bits does so through this type.
#include "engine/frames/StreamTime.h"
#include <array>
#include <cstddef>
#include <cstdint>

namespace vivizu {

// The two version bits, in their coded order.
enum class TMpegVersion : uint8_t { Mpeg25 = 0, Reserved = 1, Mpeg2 = 2, Mpeg1 = 3 };

enum class TChannelMode : uint8_t { Stereo = 0, JointStereo = 1, DualChannel = 2, Mono = 3 };

// 1.0, 2.0 or 2.5 for display; 0.0 for the reserved code.
double VersionNumber(TMpegVersion version);

// The header fields' places in the 32 bits, first byte highest.
namespace HeaderMask {
inline constexpr uint32_t Sync = 0xFFE00000;
inline constexpr uint32_t Version = 0x00180000;
inline constexpr uint32_t Layer = 0x00060000;
inline constexpr uint32_t NoCrc = 0x00010000; // set: no CRC follows the header
inline constexpr uint32_t Bitrate = 0x0000F000;
inline constexpr uint32_t SampleRate = 0x00000C00;
inline constexpr uint32_t Padding = 0x00000200;
inline constexpr uint32_t Private = 0x00000100;
inline constexpr uint32_t Mode = 0x000000C0;
inline constexpr uint32_t ModeExtension = 0x00000030;
inline constexpr uint32_t Copyright = 0x00000008;
inline constexpr uint32_t Original = 0x00000004;
inline constexpr uint32_t Emphasis = 0x00000003;
// The fields every frame of one stream shares: decoders take a frame whose
// version, layer or sample rate differs from its neighbours' for another
// stream.
inline constexpr uint32_t Format = Sync | Version | Layer | SampleRate;
} // namespace HeaderMask

// Length without padding and play time of a frame for each combination of
// the version, layer, bitrate and sample-rate codes, worked out from the
// tables when the program is compiled (length 0: no table entry).
struct TFrameSize {
    int32_t Length;
    int32_t SamplesPerFrame;
    int64_t DurationTicks;
};
using TFrameSizeTable = std::array<std::array<std::array<std::array<TFrameSize, 4>, 16>, 4>, 4>;
extern const TFrameSizeTable FrameSizes; // [version][layer code][bitrate index][rate index]

class TMpegHeader {
public:
    constexpr TMpegHeader() = default;
    constexpr explicit TMpegHeader(uint32_t bits) : FBits(bits) {}
    // The four bytes from b on.
    static constexpr TMpegHeader At(const uint8_t* b)
    {
        return TMpegHeader((uint32_t{b[0]} << 24) | (uint32_t{b[1]} << 16) | (uint32_t{b[2]} << 8) | b[3]);
    }

    constexpr uint32_t Bits() const { return FBits; }
    std::array<uint8_t, 4> Bytes() const
    {
        return {static_cast<uint8_t>(FBits >> 24), static_cast<uint8_t>(FBits >> 16),
                static_cast<uint8_t>(FBits >> 8), static_cast<uint8_t>(FBits)};
    }

    constexpr bool HasSync() const { return (FBits & HeaderMask::Sync) == HeaderMask::Sync; }
    constexpr TMpegVersion Version() const { return static_cast<TMpegVersion>(Field(HeaderMask::Version)); }
    constexpr bool IsMpeg1() const { return Version() == TMpegVersion::Mpeg1; }
    constexpr int LayerCode() const { return static_cast<int>(Field(HeaderMask::Layer)); }
    // 1, 2 or 3; 4 for the reserved code.
    constexpr int Layer() const { return 4 - LayerCode(); }
    constexpr bool HasCrc() const { return (FBits & HeaderMask::NoCrc) == 0; }
    constexpr int BitrateIndex() const { return static_cast<int>(Field(HeaderMask::Bitrate)); }
    constexpr int SampleRateIndex() const { return static_cast<int>(Field(HeaderMask::SampleRate)); }
    constexpr bool Padding() const { return (FBits & HeaderMask::Padding) != 0; }
    constexpr TChannelMode ChannelMode() const { return static_cast<TChannelMode>(Field(HeaderMask::Mode)); }
    constexpr bool Mono() const { return ChannelMode() == TChannelMode::Mono; }
    constexpr int Channels() const { return Mono() ? 1 : 2; }
    constexpr int ModeExtension() const { return static_cast<int>(Field(HeaderMask::ModeExtension)); }

    // kbit/s and Hz from the tables; 0 where a code has no entry.
    int Bitrate() const;
    int SampleRate() const;

    // True when every code has a table entry (no reserved version or layer,
    // bitrate index 1 to 14, sample-rate index 0 to 2): only then is it a
    // frame, with a length and a play time.
    bool InTables() const { return Size().Length > 0; }
    // Bytes including the header; 0 when not in the tables. Padding adds one
    // byte, or one 4-byte slot in Layer I.
    int32_t FrameLength() const
    {
        const TFrameSize& size = Size();
        if (size.Length == 0)
            return 0;
        return size.Length + (Padding() ? (LayerCode() == 3 ? 4 : 1) : 0);
    }
    int32_t SamplesPerFrame() const { return Size().SamplesPerFrame; }
    TStreamTime Duration() const { return {Size().DurationTicks}; }
    double DurationMs() const { return Duration().Ms(); }

    // Layer III: granules per frame, bytes of side information after the
    // header (and its CRC), and where the main data area begins.
    constexpr int Granules() const { return IsMpeg1() ? 2 : 1; }
    // One granule's share of the frame's play time (exact in ticks).
    TStreamTime GranuleDuration() const { return {Size().DurationTicks / Granules()}; }
    constexpr int SideInfoSize() const
    {
        if (IsMpeg1())
            return Mono() ? 17 : 32;
        return Mono() ? 9 : 17;
    }
    constexpr int MainDataOffset() const { return 4 + (HasCrc() ? 2 : 0) + SideInfoSize(); }
    // The most main_data_begin can reach back: 511 bytes for MPEG 1, 255 else.
    constexpr int MaxReservoirReach() const { return IsMpeg1() ? 511 : 255; }

    // True when both headers give the same version, layer and sample rate.
    constexpr bool SameFormat(TMpegHeader other) const
    {
        return (FBits & HeaderMask::Format) == (other.FBits & HeaderMask::Format);
    }

    // Copies with one field changed.
    constexpr TMpegHeader WithBitrateIndex(int index) const
    {
        return With(HeaderMask::Bitrate, static_cast<uint32_t>(index));
    }
    constexpr TMpegHeader WithoutCrc() const { return TMpegHeader(FBits | HeaderMask::NoCrc); }
    constexpr TMpegHeader WithPadding(bool on) const { return With(HeaderMask::Padding, on ? 1u : 0u); }
    constexpr TMpegHeader WithModeExtension(int value) const
    {
        return With(HeaderMask::ModeExtension, static_cast<uint32_t>(value));
    }

    friend constexpr bool operator==(TMpegHeader a, TMpegHeader b) = default;

private:
    static constexpr int Shift(uint32_t mask)
    {
        int shift = 0;
        while (((mask >> shift) & 1) == 0)
            ++shift;
        return shift;
    }
    constexpr uint32_t Field(uint32_t mask) const { return (FBits & mask) >> Shift(mask); }
    constexpr TMpegHeader With(uint32_t mask, uint32_t value) const
    {
        return TMpegHeader((FBits & ~mask) | ((value << Shift(mask)) & mask));
    }
    const TFrameSize& Size() const
    {
        return FrameSizes[static_cast<size_t>(Version())][static_cast<size_t>(LayerCode())]
                         [static_cast<size_t>(BitrateIndex())][static_cast<size_t>(SampleRateIndex())];
    }

    uint32_t FBits = 0;
};

} // namespace vivizu
