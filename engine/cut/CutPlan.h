#pragma once
// Which frames a cut writes and what goes in front of them, worked out on the
// frame index before anything is written, so that a header frame in front of
// the frames can describe them.
#include "engine/CutResult.h"
#include "engine/frames/FrameIndex.h"
#include <cstdint>
#include <cstddef>
#include <vector>

namespace vivizu {

// A stretch of frames that follows the plan's own in the output, after a
// stretch that was removed: its frames [First, Last) of the index, and when
// its first frame borrows bytes (the bit reservoir) from frames that were
// removed, a silent frame before it that carries them.
struct TPlanRun {
    size_t First = 0;
    size_t Last = 0;
    std::vector<uint8_t> ReservoirFrame;
};

struct TCutPlan {
    TFrameIndex* Index = nullptr;
    size_t First = 0;         // the frames [First, Last) of Index
    size_t Last = 0;
    // With stretches removed: the frames written after [First, Last), in
    // order. ToLast and Padding then belong to the last of them.
    std::vector<TPlanRun> Later;
    // An open plan knows only its first frame: the writer goes on while the
    // frames written play shorter than Wanted, walking as it writes, so that
    // the output grows from the start even when the walk is long. FromFirst,
    // ToLast and Last are not known.
    bool Open = false;
    TStreamTime Wanted;
    // An open plan's removed stretches, in frame time and in the order of
    // their starts: the writer leaves them out as its walk reaches them,
    // the same frames RemoveStretches would, so that every byte is read
    // once. Wanted then ends the plan in the source's time (the frames that
    // begin before the first frame's start plus Wanted), not in time written.
    std::vector<std::pair<TStreamTime, TStreamTime>> OpenRemoved;
    bool FromFirst = false;   // the first frame is the stream's first audio frame
    bool ToLast = false;      // the last frame is the stream's last audio frame
    // Exact cuts: a silent frame that carries the bytes the first frame
    // borrows goes first; and the delay and padding that players trim.
    std::vector<uint8_t> ReservoirFrame;
    int Delay = 0;
    int Padding = 0;

    bool Empty() const { return Open ? First >= Index->Count() : First >= Last && Later.empty(); }
    // The audio frames written: the plan's own and its later runs' (not
    // the silent frames that carry borrowed bytes).
    size_t FrameCount() const;
    // The header of the first frame written: the format of any frame the cut
    // puts in front of the audio.
    TMpegHeader AudioHeader() const { return Empty() ? TMpegHeader{} : Index->HeaderOf(First); }
    // True when every frame of the plan has the first one's version, layer
    // and sample rate.
    bool OneFormat() const;
    // Closes an open plan: walks as far as its frames go.
    void Close(TInputFile& input);
};

// The frames the plain cut copies: from the first frame that begins at or
// after StartMs, every frame that begins before (EndMs - StartMs) counted
// from that frame's start. The index grows as far as needed; an open plan
// walks only to the first frame.
TCutPlan PlanPlainCut(TFrameIndex& index, TInputFile& input, int32_t StartMs, int32_t EndMs, bool open = false);

// What a removal leaves alone: the frames before HeadUntil and from TailFrom
// on stay (an exact cut's warm-up and the frames holding its first and last
// sample); Shift is added to the stretches' times to give frame times (an
// exact cut counts its times on the gapless timeline).
struct TRemovalBounds {
    size_t HeadUntil = 0;
    size_t TailFrom = SIZE_MAX;
    TStreamTime Shift;
};

// Leaves the removed stretches out of an open plan, as the writer reaches
// them (see OpenRemoved).
void RemoveStretchesOpen(TCutPlan& plan, const std::vector<TRemoved>& removed);

// The frame whose start lies nearest to time: the boundary a removed
// stretch's end is rounded to. The same once the index reaches time as when
// it is complete.
size_t NearestBoundary(const TFrameIndex& index, TStreamTime time);

// Leaves the removed stretches out of a closed plan: each one's ends are
// rounded to the nearest frame boundary and the frames between go; what is
// left of the plan becomes its own frames and its later runs, each later
// Layer III run that begins with a borrowing frame led by a silent frame
// that carries the borrowed bytes. Stretches may overlap and come in any
// order. False when a carrying frame cannot be built.
bool RemoveStretches(TCutPlan& plan, TInputFile& input, const std::vector<TRemoved>& removed,
                     const TRemovalBounds& bounds = {});

} // namespace vivizu
