#include "engine/CutPlan.h"

#include "engine/FrameWalk.h"

namespace vivizu {

TCutPlan PlanTimedCut(TInputFile& input, int64_t audioStart, int64_t limit, int32_t StartMs,
                      int32_t EndMs)
{
    TCutPlan plan;
    input.Seek(audioStart, TSeekOrigin::Begin);
    bool skippedAudio = false;
    double elapsed = 0.0;
    if (StartMs > 0) {
        while (input.Position() < input.Size() - 4 && StartMs > elapsed) {
            const TFrameStep step = SkipFrame(input);
            skippedAudio = skippedAudio || step.Length > 0;
            elapsed += step.DurationMs;
        }
    }
    const double wanted = static_cast<double>(int64_t{EndMs} - StartMs);
    elapsed = 0.0;
    while (input.Position() < limit && wanted > elapsed) {
        const int64_t at = input.Position();
        const TFrameStep step = SkipFrame(input);
        if (step.Length > 0 && step.Position <= input.Size())
            plan.Frames.push_back({at, step.Length});
        elapsed += step.DurationMs;
    }
    plan.FromFirst = !skippedAudio && !plan.Frames.empty();
    plan.ToLast = input.Position() >= limit && !plan.Frames.empty();
    return plan;
}

std::vector<TCutFrame> AudioFrames(TInputFile& input, int64_t audioStart, int64_t limit,
                                   size_t maxFrames)
{
    std::vector<TCutFrame> frames;
    input.Seek(audioStart, TSeekOrigin::Begin);
    while (input.Position() < limit && frames.size() < maxFrames) {
        const int64_t at = input.Position();
        const TFrameStep step = SkipFrame(input);
        if (step.Length > 0 && step.Position <= input.Size())
            frames.push_back({at, step.Length});
    }
    return frames;
}

} // namespace vivizu
