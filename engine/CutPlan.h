#pragma once
// Which frames a cut writes, worked out before anything is written, so that a
// header frame in front of them can describe them.
#include "engine/FileStream.h"
#include <cstdint>
#include <vector>

namespace vivizu {

struct TCutFrame {
    int64_t Position = 0; // first byte in the source
    int32_t Length = 0;
};

struct TCutPlan {
    std::vector<TCutFrame> Frames;
    bool FromFirst = false;   // the first frame is the source's first audio frame
    bool ToLast = false;      // the last frame is the source's last audio frame
    // Exact cuts: a silent reservoir frame goes first, and the delay and
    // padding that players trim.
    bool Reservoir = false;
    std::vector<uint8_t> ReservoirTail; // the bytes the first frame borrows
    int Delay = 0;
    int Padding = 0;
};

// The frames the plain cut copies: from the first frame that begins at or
// after StartMs for as long as the time written is below EndMs - StartMs,
// with the walk and the exact sums of the plain cut. The audio ends at
// audioEnd.
TCutPlan PlanTimedCut(TInputFile& input, int64_t audioStart, int64_t audioEnd, int32_t StartMs,
                      int32_t EndMs);

// The audio frames from audioStart on, at most maxFrames of them; those
// before the keepFrom-th are counted but not kept.
struct TFrameRun {
    size_t FirstIndex = 0;          // the index of Frames[0] in the stream
    std::vector<TCutFrame> Frames;

    size_t Count() const { return FirstIndex + Frames.size(); }
};
TFrameRun AudioFrames(TInputFile& input, int64_t audioStart, int64_t audioEnd, size_t maxFrames,
                      size_t keepFrom);

} // namespace vivizu
