#include "engine/cut/ExactCut.h"

#include "engine/cut/ReservoirFrame.h"

#include <algorithm>
#include <climits>

namespace vivizu {
namespace {

// Raw samples of warm-up before the first wanted frame: two granules, enough
// for the overlap of the transform and the history of the synthesis filter.
constexpr int64_t WarmUpSamples = 1152;


// Samples at rate from `from` to `to`, rounded to the nearest (halves up).
int64_t SamplesBetween(TStreamTime from, TStreamTime to, int64_t rate)
{
    const int64_t scaled = (to - from).Ticks * rate;
    constexpr int64_t tps = TStreamTime::TicksPerSecond;
    return scaled >= 0 ? (scaled + tps / 2) / tps : -((-scaled + tps / 2 - 1) / tps);
}

} // namespace

std::vector<uint8_t> BorrowedBytes(TInputFile& input, const TFrameIndex& index, size_t runStart, size_t first)
{
    input.Seek(index.Frame(first).Position, TSeekOrigin::Begin);
    const int wanted = MainDataBegin(input.Peek(8));
    std::vector<uint8_t> tail(static_cast<size_t>(wanted), 0);
    size_t missing = tail.size();
    for (size_t i = first; i-- > runStart && missing > 0;) {
        const TIndexedFrame frame = index.Frame(i);
        input.Seek(frame.Position, TSeekOrigin::Begin);
        const std::span<const uint8_t> bytes = input.Peek(static_cast<size_t>(frame.Length()));
        if (bytes.size() < 4)
            break;
        const size_t dataAt = std::min(bytes.size(), static_cast<size_t>(frame.Header.MainDataOffset()));
        const size_t take = std::min(missing, bytes.size() - dataAt);
        std::copy(bytes.end() - static_cast<std::ptrdiff_t>(take), bytes.end(),
                  tail.begin() + static_cast<std::ptrdiff_t>(missing - take));
        missing -= take;
    }
    return tail;
}

int64_t MsToSample(int64_t ms, int32_t sampleRate)
{
    const int64_t scaled = ms * sampleRate;
    return scaled >= 0 ? (scaled + 500) / 1000 : -((-scaled + 499) / 1000);
}

TExactPlan PlanExactCut(TFrameIndex& index, TInputFile& input, const TEncoderInfo& encoder, int32_t StartMs,
                        int32_t EndMs)
{
    TExactPlan result;
    TCutPlan& plan = result.Plan;
    plan.Index = &index;
    const TStreamTime startTime = TStreamTime::FromMs(std::max(StartMs, 0));
    const TStreamTime endTime = TStreamTime::FromMs(EndMs);
    if (endTime <= startTime)
        return result;

    // The run of one format that holds START, and its timeline: the source's
    // gapless one (its raw decode less the encoder's and the decoder's
    // delay) when it is the stream's first run with an encoder extension,
    // else the run's raw decode.
    index.ExtendToTime(input, startTime);
    if (index.Count() == 0)
        return result;
    const size_t at = std::max<size_t>(index.FirstAtOrAfter(startTime + TStreamTime{1}), 1) - 1;
    const size_t runStart = index.FormatRunStart(at);
    const TMpegHeader format = index.HeaderOf(runStart);
    if (format.Layer() != 3) {
        result.Declined = "an exact cut needs Layer III audio";
        return result;
    }
    const int64_t rate = format.SampleRate();
    const int64_t spf = format.SamplesPerFrame();
    const TStreamTime runTime = index.StartOf(runStart);
    const bool gapless = runStart == 0 && encoder.Present;
    const int64_t skip = gapless ? encoder.Delay + DecoderDelay : 0;
    int64_t s = std::max<int64_t>(0, SamplesBetween(runTime, startTime, rate));
    int64_t e = SamplesBetween(runTime, endTime, rate);
    if (e <= s)
        return result;

    // Frames up to the one holding e - 1, and far enough past it to know
    // whether the padding at the source's end reaches into the cut.
    const int64_t rawNeeded = e - 1 + skip + MaxDelayField + 2 * spf;
    const size_t wantFrames = static_cast<size_t>(rawNeeded / spf + 1);
    index.ExtendToCount(input, runStart + wantFrames);
    const size_t runFrames = index.FormatRunEnd(runStart) - runStart;
    if (runFrames < wantFrames) {
        const int64_t raw = static_cast<int64_t>(runFrames) * spf;
        const bool toStreamEnd = runStart + runFrames == index.Count() && index.Complete();
        const int64_t rawEnd = gapless && toStreamEnd ? std::min(raw, raw - encoder.Padding + DecoderDelay) : raw;
        // Samples past a change of format lie on another time line: one
        // header cannot describe them.
        if (!toStreamEnd && e > rawEnd - skip) {
            result.Declined = "the selection changes sample rate or MPEG version; one header frame cannot describe it";
            return result;
        }
        e = std::min(e, rawEnd - skip);
    }
    if (e <= s)
        return result;

    const int64_t rawStart = s + skip;
    const int64_t first = rawStart / spf;
    const int64_t last = (e - 1 + skip) / spf;
    const int64_t warmUp = std::min(first, (WarmUpSamples + spf - 1) / spf);
    result.StartFrame = runStart + static_cast<size_t>(first);
    // Without the gapless timeline, START and END count frame time.
    result.Zero = TStreamTime::FromSamples(skip, rate);
    result.Start = (gapless ? TStreamTime{} : runTime) + TStreamTime::FromSamples(s, rate);
    plan.First = runStart + static_cast<size_t>(first - warmUp);
    plan.Last = runStart + static_cast<size_t>(last) + 1;
    plan.FromFirst = plan.First == 0;
    plan.ToLast = index.Complete() && plan.Last == index.Count();

    plan.ReservoirFrame = BuildReservoirFrame(index.HeaderOf(plan.First),
                                              BorrowedBytes(input, index, runStart, plan.First));
    if (plan.ReservoirFrame.empty()) {
        result.Declined = "no frame of this stream can carry what the cut needs";
        return result;
    }
    // Where s lies in the cut's raw decode: after the reservoir frame and the
    // warm-up. Players skip the stored delay plus the decoder's own.
    const int64_t lead = 1 + warmUp;
    const int64_t offset = lead * spf + (rawStart - first * spf);
    const int64_t count = lead + (last - first + 1);
    plan.Delay = static_cast<int>(offset - DecoderDelay);
    plan.Padding = static_cast<int>(count * spf + DecoderDelay - (offset + (e - s)));
    return result;
}

TExactPlan PlanExactEdit(TFrameIndex& index, TInputFile& input, const TEncoderInfo& encoder, int32_t StartMs,
                         int32_t EndMs, const std::vector<TRemoved>& removed)
{
    // An end inside a removed stretch moves to that stretch's far side, as
    // often as stretches chain.
    int64_t start = std::max(StartMs, 0);
    int64_t end = EndMs;
    for (bool moved = true; moved && start < end;) {
        moved = false;
        for (const TRemoved& r : removed) {
            if (r.ToMs <= r.FromMs)
                continue;
            if (r.FromMs <= start && start < r.ToMs) {
                start = r.ToMs;
                moved = true;
            }
            if (r.FromMs < end && end <= r.ToMs) {
                end = r.FromMs;
                moved = true;
            }
        }
    }
    if (end <= start || start > INT32_MAX) {
        TExactPlan none;
        none.Plan.Index = &index;
        return none;
    }
    TExactPlan result = PlanExactCut(index, input, encoder, static_cast<int32_t>(start), static_cast<int32_t>(end));
    if (!result.Declined.empty() || result.Plan.Empty())
        return result;
    TRemovalBounds bounds;
    bounds.HeadUntil = result.StartFrame + 1;
    bounds.TailFrom = result.Plan.Last - 1;
    bounds.Shift = result.Zero;
    if (!RemoveStretches(result.Plan, input, removed, bounds))
        result.Declined = "no frame of this stream can carry the bytes a join needs";
    return result;
}

} // namespace vivizu
