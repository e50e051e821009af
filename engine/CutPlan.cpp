#include "engine/CutPlan.h"

#include "engine/FrameWalk.h"

namespace vivizu {

TCutPlan PlanTimedCut(TInputFile& input, int64_t audioStart, int64_t audioEnd, int32_t StartMs,
                      int32_t EndMs)
{
    TCutPlan plan;
    input.Seek(audioStart, TSeekOrigin::Begin);
    // The plain cut's walk to the start time.
    const bool skippedAudio =
        StartMs > 0 && SkipFramesUntil(input, audioEnd, TStreamTime::FromMs(StartMs)) > TStreamTime{};
    const TStreamTime wanted = TStreamTime::FromMs(int64_t{EndMs} - StartMs);
    TStreamTime elapsed;
    bool ended = false;
    while (input.Position() < audioEnd - 4 && wanted > elapsed) {
        const int64_t at = input.Position();
        const TFrameStep step = SkipFrame(input, audioEnd);
        if (step.EndOfAudio) {
            ended = true;
            break;
        }
        if (step.Length > 0)
            plan.Frames.push_back({at, step.Length});
        elapsed += step.Duration;
    }
    plan.FromFirst = !skippedAudio && !plan.Frames.empty();
    plan.ToLast = (ended || input.Position() >= audioEnd - 4) && !plan.Frames.empty();
    return plan;
}

TFrameRun AudioFrames(TInputFile& input, int64_t audioStart, int64_t audioEnd, size_t maxFrames,
                      size_t keepFrom)
{
    TFrameRun run;
    size_t count = 0;
    input.Seek(audioStart, TSeekOrigin::Begin);
    while (input.Position() < audioEnd - 4 && count < maxFrames) {
        const int64_t at = input.Position();
        const TFrameStep step = SkipFrame(input, audioEnd);
        if (step.EndOfAudio)
            break;
        if (step.Length == 0)
            continue;
        if (count >= keepFrom)
            run.Frames.push_back({at, step.Length});
        ++count;
    }
    run.FirstIndex = std::min(keepFrom, count);
    return run;
}

} // namespace vivizu
