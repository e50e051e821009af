// The lossless gain and fades on arbitrary frames. The first three bytes
// give the constant step and the fades' lengths in granules; the frames are
// taken from the first sync word after them on. The first frame goes
// through ApplyGain and is checked bit by bit; every frame then goes
// through the writer's transform of a gain plan. A crash or sanitizer
// report is a finding; so is any changed bit outside the global_gain
// fields and the CRC, a wrong gain value, or a wrong CRC.
#include "engine/cut/GainTransform.h"
#include "engine/frames/SideInfo.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace vivizu;

namespace {

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "gain promise broken: %s\n", what);
        std::abort();
    }
}

bool Bit(std::span<const uint8_t> bytes, size_t bit)
{
    return (bytes[bit / 8] >> (7 - bit % 8)) & 1;
}

// The first frame from ApplyGain: only the gain fields (as steps say) and
// the CRC change.
void CheckApplyGain(std::span<const uint8_t> frame, std::span<const int> steps)
{
    const TMpegHeader header = TMpegHeader::At(frame.data());
    std::vector<uint8_t> changed(frame.begin(), frame.end());
    TGainReport report;
    const bool applied = ApplyGain(changed, header, steps, report);
    if (!applied) {
        Require(std::equal(changed.begin(), changed.end(), frame.begin()), "a frame declined stays as it was");
        return;
    }
    Require(header.Layer() == 3 && frame.size() >= static_cast<size_t>(header.MainDataOffset()),
            "only Layer III frames that hold their side information change");
    const size_t sideAt = header.HasCrc() ? 6 : 4;
    const std::span<const uint8_t> before = frame.subspan(sideAt),
                                   after = std::span<const uint8_t>(changed).subspan(sideAt);
    std::vector<bool> gainBit(static_cast<size_t>(header.SideInfoSize()) * 8, false);
    for (int gr = 0; gr < header.Granules(); ++gr)
        for (int ch = 0; ch < header.Channels(); ++ch) {
            const size_t at = static_cast<size_t>(GlobalGainBit(header, gr, ch));
            int was = 0, now = 0;
            for (size_t i = 0; i < 8; ++i) {
                gainBit[at + i] = true;
                was = was << 1 | Bit(before, at + i);
                now = now << 1 | Bit(after, at + i);
            }
            const int step = steps[static_cast<size_t>(gr)];
            const int expected = was == 0 || step <= TGainPlan::Silent ? 0 : std::clamp(was + step, 0, 255);
            Require(now == expected, "a gain field moves by its step, held within 0...255; 0 stays 0");
        }
    for (size_t i = 0; i < gainBit.size(); ++i)
        Require(gainBit[i] || Bit(before, i) == Bit(after, i), "no other side information bit changes");
    Require(std::equal(changed.begin(), changed.begin() + 4, frame.begin()), "the header stays");
    const size_t data = static_cast<size_t>(header.MainDataOffset());
    Require(std::equal(changed.begin() + static_cast<std::ptrdiff_t>(data), changed.end(),
                       frame.begin() + static_cast<std::ptrdiff_t>(data)),
            "the main data stays");
    if (header.HasCrc())
        Require(FrameCrc(changed, header) == (changed[4] << 8 | changed[5]), "the CRC is renewed");
    else
        Require(changed[4] == frame[4] && changed[5] == frame[5], "no CRC is written where there is none");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 8)
        return 0;
    const int constant = static_cast<int8_t>(data[0]);
    const int fadeIn = data[1] & 0x3F, fadeOut = data[2] & 0x3F;
    const std::span<const uint8_t> bytes(data, size);
    size_t at = 3;
    while (at + 4 <= size && !(data[at] == 0xFF && (data[at + 1] & 0xE0) == 0xE0))
        ++at;
    if (at + 4 > size)
        return 0;

    // The first frame, as long as its header says or as the input holds.
    const TMpegHeader first = TMpegHeader::At(data + at);
    const size_t firstLength =
        std::min(size - at, first.FrameLength() > 0 ? static_cast<size_t>(first.FrameLength()) : size - at);
    const std::array<int, 2> steps{(data[1] & 0x80) ? TGainPlan::Silent : constant,
                                   (data[2] & 0x80) ? TGainPlan::Silent : -constant};
    CheckApplyGain(bytes.subspan(at, firstLength), steps);

    // The frames in a row, as the writer passes them, through a plan with
    // fades.
    TGainPlan plan;
    plan.Constant = constant;
    plan.FadeIn = fadeIn;
    plan.FadeOut = fadeOut;
    std::vector<std::pair<size_t, size_t>> frames;
    int64_t granules = 0;
    for (size_t pos = at; pos + 4 <= size;) {
        const TMpegHeader h = TMpegHeader::At(data + pos);
        const size_t length = h.HasSync() ? static_cast<size_t>(std::max(h.FrameLength(), 0)) : 0;
        if (length == 0 || pos + length > size)
            break;
        frames.emplace_back(pos, length);
        granules += h.Granules();
        pos += length;
    }
    plan.AudibleFirst = std::min<int64_t>(data[1] >> 6, granules);
    plan.AudibleEnd = std::max<int64_t>(plan.AudibleFirst, granules - (data[2] >> 6));
    TGainReport report;
    const TFrameTransform transform = MakeGainTransform(plan, report);
    for (size_t n = 0; n < frames.size(); ++n) {
        std::vector<uint8_t> frame(data + frames[n].first, data + frames[n].first + frames[n].second);
        const TMpegHeader h = TMpegHeader::At(frame.data());
        transform(frame, h, n);
        Require(std::equal(frame.begin(), frame.begin() + 4, data + frames[n].first), "the header stays");
        if (h.Layer() == 3 && h.HasCrc())
            Require(FrameCrc(frame, h) == (frame[4] << 8 | frame[5]), "the CRC is renewed");
    }
    Require(report.ClampedHigh + report.ClampedLow <= report.Granules, "held fields are among those changed");
    return 0;
}
