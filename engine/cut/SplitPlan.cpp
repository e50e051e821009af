#include "engine/cut/SplitPlan.h"

#include "engine/TimeText.h"

namespace vivizu {
namespace {

std::string At(TStreamTime time)
{
    return FormatTimeText(time.WholeMs());
}

} // namespace

std::vector<TStreamTime> SplitTimesEvery(TStreamTime duration, TStreamTime every)
{
    std::vector<TStreamTime> times;
    if (every.Ticks <= 0)
        return times;
    for (TStreamTime t = every; t < duration; t += every)
        times.push_back(t);
    return times;
}

std::vector<TStreamTime> SplitTimesParts(TStreamTime duration, int parts)
{
    std::vector<TStreamTime> times;
    for (int k = 1; k < parts; ++k) {
        // duration * k / parts rounded down, without overflow for any
        // stream length.
        const int64_t whole = duration.Ticks / parts, rest = duration.Ticks % parts;
        times.push_back({whole * k + rest * k / parts});
    }
    return times;
}

int64_t RoundedMs(TStreamTime time)
{
    constexpr int64_t half = TStreamTime::TicksPerMs / 2;
    return TStreamTime{time.Ticks + half}.WholeMs();
}

TSplitRanges PlanPlainSplit(const TFrameIndex& index, const std::vector<TStreamTime>& times, bool dropEmpty)
{
    TSplitRanges result;
    if (index.Count() == 0) {
        result.Declined = "the stream holds no audio frame";
        return result;
    }
    size_t first = 0;
    for (const TStreamTime time : times) {
        const size_t at = index.FirstAtOrAfter(time);
        if (at <= first || at >= index.Count()) {
            if (dropEmpty)
                continue;
            result.Declined = at >= index.Count()
                                  ? "the split time " + At(time) + " is at or past the stream's last frame start"
                              : at == 0 ? "the split time " + At(time) + " is at the stream's start"
                                        : "the split time " + At(time) + " falls on the same frame as the one before";
            result.Pieces.clear();
            return result;
        }
        result.Pieces.push_back({index.StartOf(first), index.StartOf(at), first, at});
        first = at;
    }
    result.Pieces.push_back({index.StartOf(first), index.Duration(), first, index.Count(), true});
    return result;
}

TSplitRanges PlanExactSplit(const TFrameIndex& index, const std::vector<TStreamTime>& times, bool dropEmpty)
{
    return PlanExactSplit(index.Duration(), times, dropEmpty);
}

TSplitRanges PlanExactSplit(TStreamTime length, const std::vector<TStreamTime>& times, bool dropEmpty)
{
    TSplitRanges result;
    const int64_t lengthMs = RoundedMs(length);
    if (lengthMs <= 0) {
        result.Declined = "the stream holds no audio";
        return result;
    }
    int64_t startMs = 0;
    for (const TStreamTime time : times) {
        const int64_t ms = RoundedMs(time);
        if (ms <= startMs || ms >= lengthMs) {
            if (dropEmpty)
                continue;
            result.Declined = ms >= lengthMs ? "the split time " + At(time) + " is at or past the stream's end"
                              : ms <= 0      ? "the split time " + At(time) + " is at the stream's start"
                                             : "the split time " + At(time) + " is not after the one before";
            result.Pieces.clear();
            return result;
        }
        result.Pieces.push_back({TStreamTime::FromMs(startMs), TStreamTime::FromMs(ms)});
        startMs = ms;
    }
    result.Pieces.push_back({TStreamTime::FromMs(startMs), length, 0, 0, true});
    return result;
}

} // namespace vivizu
