#include "engine/cut/GainTransform.h"

#include "engine/frames/FrameCrc.h"
#include "engine/frames/SideInfo.h"

#include <algorithm>
#include <array>
#include <memory>

namespace vivizu {
namespace {

bool HoldsSideInfo(std::span<const uint8_t> frame, TMpegHeader header)
{
    return header.Layer() == 3 && frame.size() >= static_cast<size_t>(header.MainDataOffset());
}

} // namespace

int GlobalGain(std::span<const uint8_t> frame, TMpegHeader header, int granule, int channel)
{
    if (!HoldsSideInfo(frame, header))
        return -1;
    return ReadSideInfo(frame, header).Granule[static_cast<size_t>(granule)][static_cast<size_t>(channel)].GlobalGain;
}

bool ApplyGain(std::span<uint8_t> frame, TMpegHeader header, std::span<const int> steps, TGainReport& report)
{
    if (!HoldsSideInfo(frame, header) || steps.size() < static_cast<size_t>(header.Granules()))
        return false;
    const TSideInfo side = ReadSideInfo(frame, header);
    for (int gr = 0; gr < header.Granules(); ++gr) {
        const int step = steps[static_cast<size_t>(gr)];
        for (int ch = 0; ch < header.Channels(); ++ch) {
            const int current = side.Granule[static_cast<size_t>(gr)][static_cast<size_t>(ch)].GlobalGain;
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
            WriteGlobalGain(frame, header, gr, ch, value);
            ++report.Granules;
        }
    }
    SealFrameCrc(frame, header);
    return true;
}

TCutResult GainOutcome(int steps, const TGainReport& report)
{
    TCutResult done;
    done.GainSteps = steps;
    done.ClampedHigh = report.ClampedHigh;
    done.ClampedLow = report.ClampedLow;
    return done;
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
