#include "engine/cut/SilenceSplit.h"

#include <algorithm>
#include <optional>

namespace vivizu {
namespace {

// The last frame that begins at or before time (0 when none does).
size_t LastAtOrBefore(const TFrameIndex& index, TStreamTime time)
{
    const size_t at = index.FirstAtOrAfter(time);
    if (at < index.Count() && index.StartOf(at) == time)
        return at;
    return at == 0 ? 0 : at - 1;
}

// Where a piece's sound begins and ends, and how far its kept silence
// reaches on either side, in stream time.
struct TSoundSpan {
    TStreamTime From, SoundFrom, SoundTo, To;
};

std::vector<TSoundSpan> SoundSpans(std::span<const TSilence> silences, int sampleRate, int64_t streamSamples,
                                   TStreamTime keep)
{
    const auto at = [sampleRate](int64_t sample) { return TStreamTime::FromSamples(sample, sampleRate); };
    // The part of a silence kept on each of its sides.
    const auto kept = [&](const TSilence& s) {
        const TStreamTime half{(at(s.End) - at(s.Start)).Ticks / 2};
        return std::min(keep, half);
    };
    std::vector<TSoundSpan> spans;
    TSoundSpan span{at(0), at(0), at(0), at(0)};
    bool open = true;
    for (const TSilence& s : silences) {
        if (s.Start <= 0) { // leading silence: the first piece begins late
            const TStreamTime k = std::min(keep, at(s.End) - at(s.Start));
            span.From = at(s.End) - k;
            span.SoundFrom = at(s.End);
            continue;
        }
        span.SoundTo = at(s.Start);
        if (s.End >= streamSamples) { // trailing silence
            span.To = at(s.Start) + std::min(keep, at(s.End) - at(s.Start));
            spans.push_back(span);
            open = false;
            break;
        }
        span.To = at(s.Start) + kept(s);
        spans.push_back(span);
        span = {at(s.End) - kept(s), at(s.End), at(s.End), at(s.End)};
    }
    if (open) {
        span.SoundTo = span.To = at(streamSamples);
        spans.push_back(span);
    }
    return spans;
}

TSplitRanges TrimmedPieces(const TFrameIndex& index, const std::vector<TSoundSpan>& spans, bool exact)
{
    TSplitRanges result;
    const TStreamTime end = index.Duration();
    size_t taken = 0;       // frames before this belong to earlier pieces
    std::optional<TStreamTime> lastTo; // where the last piece's kept silence ended
    for (const TSoundSpan& s : spans) {
        TSplitRange piece;
        if (exact) {
            piece.Start = TStreamTime::FromMs(RoundedMs(s.From));
            piece.ToEnd = s.To >= end;
            piece.End = piece.ToEnd ? end : TStreamTime::FromMs(RoundedMs(s.To));
        } else {
            // No more than the kept silence, but never less than the frames
            // that hold the sound, and never a frame an earlier piece holds.
            // Two pieces that share a pause at its middle take every frame
            // of it between them: the frame the middle falls in goes to the
            // later piece.
            piece.First = std::min(index.FirstAtOrAfter(s.From), LastAtOrBefore(index, s.SoundFrom));
            if (lastTo && s.From == *lastTo)
                piece.First = std::min(piece.First, taken);
            piece.First = std::max(piece.First, taken);
            piece.Last = s.To >= end ? index.Count()
                                     : std::max(LastAtOrBefore(index, s.To), index.FirstAtOrAfter(s.SoundTo));
            piece.Last = std::min(piece.Last, index.Count());
            if (piece.Last <= piece.First)
                continue;
            piece.Start = index.StartOf(piece.First);
            piece.End = index.StartOf(piece.Last);
            piece.ToEnd = piece.Last == index.Count();
            taken = piece.Last;
            lastTo = s.To;
        }
        if (piece.End > piece.Start)
            result.Pieces.push_back(piece);
    }
    return result;
}

} // namespace

std::vector<TSilence> InnerPauses(std::span<const TSilence> silences, int64_t streamSamples)
{
    std::vector<TSilence> inner;
    for (const TSilence& s : silences)
        if (s.Start > 0 && s.End < streamSamples)
            inner.push_back(s);
    return inner;
}

TSilencePlan PlanSilenceSplit(const TFrameIndex& index, std::span<const TSilence> silences, int sampleRate,
                              std::optional<TStreamTime> keep, bool exact)
{
    TSilencePlan plan;
    const int64_t streamSamples = sampleRate <= 0 ? 0
                                  : index.Duration().Ticks / (TStreamTime::TicksPerSecond / sampleRate);
    plan.Pauses = InnerPauses(silences, streamSamples);
    if (sampleRate <= 0 || plan.Pauses.empty()) {
        plan.Ranges.Declined = "no silence found";
        return plan;
    }
    if (keep) {
        plan.Ranges = TrimmedPieces(index, SoundSpans(silences, sampleRate, streamSamples, *keep), exact);
        return plan;
    }
    std::vector<TStreamTime> times;
    for (const TSilence& s : plan.Pauses)
        times.push_back(TStreamTime::FromSamples((s.Start + s.End) / 2, sampleRate));
    plan.Ranges = exact ? PlanExactSplit(index, times, true) : PlanPlainSplit(index, times, true);
    return plan;
}

} // namespace vivizu
