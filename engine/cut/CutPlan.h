#pragma once
// Which frames a cut writes and what goes in front of them, worked out on the
// frame index before anything is written, so that a header frame in front of
// the frames can describe them.
#include "engine/frames/FrameIndex.h"
#include <cstdint>
#include <vector>

namespace vivizu {

struct TCutPlan {
    TFrameIndex* Index = nullptr;
    size_t First = 0;         // the frames [First, Last) of Index
    size_t Last = 0;
    // An open plan knows only its first frame: the writer goes on while the
    // frames written play shorter than Wanted, walking as it writes, so that
    // the output grows from the start even when the walk is long. FromFirst,
    // ToLast and Last are not known.
    bool Open = false;
    TStreamTime Wanted;
    bool FromFirst = false;   // the first frame is the stream's first audio frame
    bool ToLast = false;      // the last frame is the stream's last audio frame
    // Exact cuts: a silent frame that carries the bytes the first frame
    // borrows goes first; and the delay and padding that players trim.
    std::vector<uint8_t> ReservoirFrame;
    int Delay = 0;
    int Padding = 0;

    bool Empty() const { return Open ? First >= Index->Count() : First >= Last; }
    size_t FrameCount() const { return Empty() ? 0 : Last - First; }
    // The header of the first frame written: the format of any frame the cut
    // puts in front of the audio.
    TMpegHeader AudioHeader() const { return Empty() ? TMpegHeader{} : Index->HeaderOf(First); }
    // True when every frame of the plan has the first one's version, layer
    // and sample rate.
    bool OneFormat() const { return Empty() || Index->FormatRunEnd(First) >= Last; }
    // Closes an open plan: walks as far as its frames go.
    void Close(TInputFile& input);
};

// The frames the plain cut copies: from the first frame that begins at or
// after StartMs, every frame that begins before (EndMs - StartMs) counted
// from that frame's start. The index grows as far as needed; an open plan
// walks only to the first frame.
TCutPlan PlanPlainCut(TFrameIndex& index, TInputFile& input, int32_t StartMs, int32_t EndMs, bool open = false);

} // namespace vivizu
