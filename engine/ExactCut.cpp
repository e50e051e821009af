#include "engine/ExactCut.h"

#include "engine/ReservoirFrame.h"

#include <algorithm>

namespace vivizu {
namespace {

// Raw samples of warm-up before the first wanted frame: two granules, enough
// for the overlap of the transform and the history of the synthesis filter.
constexpr int64_t WarmUpSamples = 1152;
// Frames kept before the warm-up for the bytes it borrows: up to 511 bytes,
// and even the smallest frames hold more than 8 bytes of data.
constexpr int64_t BorrowReach = 64;

// The bytes that frame `first` takes from the data areas of the frames
// before it, oldest first.
std::vector<uint8_t> BorrowedBytes(TInputFile& input, const std::vector<TCutFrame>& frames, size_t first)
{
    input.Seek(frames[first].Position, TSeekOrigin::Begin);
    const int wanted = MainDataBegin(input.Peek(8));
    std::vector<uint8_t> tail(static_cast<size_t>(wanted), 0);
    size_t missing = tail.size();
    for (size_t i = first; i-- > 0 && missing > 0;) {
        input.Seek(frames[i].Position, TSeekOrigin::Begin);
        const std::span<const uint8_t> frame = input.Peek(static_cast<size_t>(frames[i].Length));
        if (frame.size() < 4)
            break;
        const size_t dataAt = std::min(frame.size(), static_cast<size_t>(MainDataOffset(frame.data())));
        const size_t take = std::min(missing, frame.size() - dataAt);
        std::copy(frame.end() - static_cast<std::ptrdiff_t>(take), frame.end(),
                  tail.begin() + static_cast<std::ptrdiff_t>(missing - take));
        missing -= take;
    }
    return tail;
}

} // namespace

int64_t MsToSample(int64_t ms, int32_t sampleRate)
{
    const int64_t scaled = ms * sampleRate;
    return scaled >= 0 ? (scaled + 500) / 1000 : -((-scaled + 499) / 1000);
}

TCutPlan PlanExactCut(TInputFile& input, int64_t audioStart, int64_t audioEnd, const TExactSource& source,
                      int32_t StartMs, int32_t EndMs)
{
    TCutPlan plan;
    const int64_t spf = source.SamplesPerFrame;
    if (spf <= 0 || source.SampleRate <= 0)
        return plan;
    int64_t s = std::max<int64_t>(0, MsToSample(StartMs, source.SampleRate));
    int64_t e = MsToSample(EndMs, source.SampleRate);
    if (e <= s)
        return plan;

    // The source's timeline is its raw decode less the delay its encoder
    // extension gives (plus the decoder's own); without one, the raw decode.
    const bool gapless = source.Encoder.Present;
    const int64_t skip = gapless ? source.Encoder.Delay + DecoderDelay : 0;

    // Frames up to the one holding e - 1, and far enough past it to know
    // whether the padding at the source's end reaches into the cut.
    const int64_t rawNeeded = e - 1 + skip + MaxDelayField + 2 * spf;
    const size_t wantFrames = static_cast<size_t>(rawNeeded / spf + 1);
    // Frames long before the start are only counted: the warm-up and the
    // bytes the first of it borrows lie within the last few before it.
    const int64_t warmUpFrames = (WarmUpSamples + spf - 1) / spf;
    const size_t keepFrom = static_cast<size_t>(std::max<int64_t>(0, (s + skip) / spf - warmUpFrames - BorrowReach));
    const TFrameRun run = AudioFrames(input, audioStart, audioEnd, wantFrames, keepFrom);
    if (run.Count() < wantFrames) {
        const int64_t raw = static_cast<int64_t>(run.Count()) * spf;
        const int64_t rawEnd = gapless ? std::min(raw, raw - source.Encoder.Padding + DecoderDelay) : raw;
        e = std::min(e, rawEnd - skip);
    }
    if (e <= s)
        return plan;

    const int64_t rawStart = s + skip;
    const int64_t first = rawStart / spf;
    const int64_t last = (e - 1 + skip) / spf;
    const int64_t warmUp = std::min(first, warmUpFrames);
    const size_t from = static_cast<size_t>(first - warmUp) - run.FirstIndex;
    const auto& frames = run.Frames;
    plan.Frames.assign(frames.begin() + static_cast<std::ptrdiff_t>(from),
                       frames.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(last) + 1 - run.FirstIndex));
    plan.FromFirst = from + run.FirstIndex == 0;
    plan.ToLast = static_cast<size_t>(last + 1) == run.Count();
    plan.Reservoir = true;
    plan.ReservoirTail = BorrowedBytes(input, frames, from);

    // Where s lies in the cut's raw decode: after the reservoir frame and the
    // warm-up. Players skip the stored delay plus the decoder's own.
    const int64_t lead = 1 + warmUp;
    const int64_t at = lead * spf + (rawStart - first * spf);
    const int64_t count = lead + (last - first + 1);
    plan.Delay = static_cast<int>(at - DecoderDelay);
    plan.Padding = static_cast<int>(count * spf + DecoderDelay - (at + (e - s)));
    return plan;
}

} // namespace vivizu
