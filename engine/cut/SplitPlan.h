#pragma once
// Where a stream is split: the split times a split is given (a list, pieces
// of one length, a number of equal parts), and the consecutive pieces they
// make on the frame index. Pieces of a plain split begin at frame starts, so
// that every audio frame lands in exactly one piece; pieces of an exact
// split begin and end at the times themselves (rounded to milliseconds, as
// the exact cut takes them), so that their samples follow each other.
#include "engine/frames/FrameIndex.h"
#include "engine/frames/StreamTime.h"
#include <cstdint>
#include <string>
#include <vector>

namespace vivizu {

// Split times for pieces of length `every`, the last one shorter: every
// multiple of `every` inside (0, duration).
std::vector<TStreamTime> SplitTimesEvery(TStreamTime duration, TStreamTime every);
// Split times for `parts` pieces of equal length.
std::vector<TStreamTime> SplitTimesParts(TStreamTime duration, int parts);

// One piece of a split.
struct TSplitRange {
    TStreamTime Start;   // plain: its first frame's start; exact: the time asked
    TStreamTime End;     // plain: the next piece's first frame's start (the
                         // stream's length for the last); exact: the time asked
    size_t First = 0;    // plain: its frames [First, Last) of the index
    size_t Last = 0;
    bool ToEnd = false;  // the last piece: it ends with the stream
};

struct TSplitRanges {
    std::vector<TSplitRange> Pieces;
    std::string Declined; // why the times make no pieces; empty when they do
};

// The pieces between the times (ascending, strictly) on a complete index.
// A time at or before the stream's start, or at or after its end, or two
// times falling on the same frame, would make a piece without audio: it is
// declined with its reason unless dropEmpty is set, which drops such times.
TSplitRanges PlanPlainSplit(const TFrameIndex& index, const std::vector<TStreamTime>& times,
                            bool dropEmpty);
// The same for exact pieces: the times rounded to whole milliseconds mark
// the pieces; the last ends with the stream.
TSplitRanges PlanExactSplit(const TFrameIndex& index, const std::vector<TStreamTime>& times,
                            bool dropEmpty);
// The same on a stream that plays for `length` (the gapless length, where
// the index's duration also counts the encoder's delay and padding).
TSplitRanges PlanExactSplit(TStreamTime length, const std::vector<TStreamTime>& times, bool dropEmpty);

// A time in whole milliseconds, rounded to the nearest (halves up).
int64_t RoundedMs(TStreamTime time);

} // namespace vivizu
