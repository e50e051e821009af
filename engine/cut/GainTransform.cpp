#include "engine/cut/GainTransform.h"

#include "engine/frames/FrameCrc.h"

#include <algorithm>
#include <array>
#include <memory>

namespace vivizu {
namespace {

// Side information fields in front of the granules' parts: main_data_begin
// (9 bits in MPEG 1, 8 else), the private bits (MPEG 1: 5 mono, 3 stereo;
// MPEG 2 and 2.5: 1 mono, 2 stereo), and in MPEG 1 four scfsi bits per
// channel.
int PartsStart(TMpegHeader header)
{
    if (header.IsMpeg1())
        return 9 + (header.Mono() ? 5 : 3) + 4 * header.Channels();
    return 8 + (header.Mono() ? 1 : 2);
}

// One granule-and-channel part: part2_3_length 12, big_values 9,
// global_gain 8, scalefac_compress (4 in MPEG 1, 9 else), the window
// switching flag 1 and the 22 bits that follow it either way, then preflag
// (MPEG 1 only), scalefac_scale and count1table_select, one bit each.
int PartBits(TMpegHeader header)
{
    return header.IsMpeg1() ? 12 + 9 + 8 + 4 + 1 + 22 + 3 : 12 + 9 + 8 + 9 + 1 + 22 + 2;
}
constexpr int GlobalGainInPart = 12 + 9;

int SideInfoAt(TMpegHeader header) { return 4 + (header.HasCrc() ? 2 : 0); }

int ReadByteAt(std::span<const uint8_t> bytes, int bit)
{
    const size_t at = static_cast<size_t>(bit / 8);
    const int shift = bit % 8;
    const unsigned word = (unsigned{bytes[at]} << 8) | (shift > 0 ? bytes[at + 1] : 0u);
    return static_cast<int>((word >> (8 - shift)) & 0xFF);
}

void WriteByteAt(std::span<uint8_t> bytes, int bit, int value)
{
    const size_t at = static_cast<size_t>(bit / 8);
    const int shift = bit % 8;
    const unsigned mask = 0xFF00u >> shift;
    const unsigned bits = (static_cast<unsigned>(value) << 8) >> shift;
    bytes[at] = static_cast<uint8_t>((bytes[at] & ~(mask >> 8)) | (bits >> 8));
    if (shift > 0)
        bytes[at + 1] = static_cast<uint8_t>((bytes[at + 1] & ~mask) | (bits & 0xFF));
}

bool HoldsSideInfo(std::span<const uint8_t> frame, TMpegHeader header)
{
    return header.Layer() == 3 && frame.size() >= static_cast<size_t>(header.MainDataOffset());
}

} // namespace

int GlobalGainBit(TMpegHeader header, int granule, int channel)
{
    return PartsStart(header) + (granule * header.Channels() + channel) * PartBits(header) + GlobalGainInPart;
}

int GlobalGain(std::span<const uint8_t> frame, TMpegHeader header, int granule, int channel)
{
    if (!HoldsSideInfo(frame, header))
        return -1;
    return ReadByteAt(frame.subspan(static_cast<size_t>(SideInfoAt(header))),
                      GlobalGainBit(header, granule, channel));
}

bool ApplyGain(std::span<uint8_t> frame, TMpegHeader header, std::span<const int> steps, TGainReport& report)
{
    if (!HoldsSideInfo(frame, header) || steps.size() < static_cast<size_t>(header.Granules()))
        return false;
    const std::span<uint8_t> side = frame.subspan(static_cast<size_t>(SideInfoAt(header)));
    for (int gr = 0; gr < header.Granules(); ++gr) {
        const int step = steps[static_cast<size_t>(gr)];
        for (int ch = 0; ch < header.Channels(); ++ch) {
            const int bit = GlobalGainBit(header, gr, ch);
            const int current = ReadByteAt(side, bit);
            // A field of 0 is a silent granule: it stays 0 whatever the
            // step, as mp3gain leaves it, so that gain gives mp3gain's bytes.
            if (current == 0)
                continue;
            int value = 0;
            if (step > TGainPlan::Silent) {
                const int wanted = current + step;
                value = std::clamp(wanted, 0, 255);
                report.ClampedHigh += wanted > 255;
                report.ClampedLow += wanted < 0;
            }
            WriteByteAt(side, bit, value);
            ++report.Granules;
        }
    }
    SealFrameCrc(frame, header);
    return true;
}

TFrameTransform MakeGainTransform(const TGainPlan& plan, TGainReport& report)
{
    // The granule count goes on from frame to frame; the writer gives the
    // frames in order, each once.
    auto next = std::make_shared<int64_t>(0);
    return [plan, &report, next](std::span<uint8_t> frame, TMpegHeader header, size_t) {
        std::array<int, 2> steps{};
        for (int gr = 0; gr < header.Granules(); ++gr)
            steps[static_cast<size_t>(gr)] = plan.StepAt(*next + gr);
        *next += header.Granules();
        ApplyGain(frame, header, std::span<const int>(steps.data(), static_cast<size_t>(header.Granules())),
                  report);
    };
}

} // namespace vivizu
