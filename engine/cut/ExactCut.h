#pragma once
// The exact cut: the frames, warm-up and reservoir that make a gapless
// decoder play exactly the samples [s, e) of the source's gapless decode,
// with START and END in milliseconds rounded to the nearest sample.
#include "engine/cut/CutPlan.h"
#include "engine/cut/LengthHeader.h"
#include <cstdint>
#include <string>
#include <vector>

namespace vivizu {

// Samples of the source's gapless timeline at ms milliseconds, rounded to the
// nearest (halves up).
int64_t MsToSample(int64_t ms, int32_t sampleRate);

// The bytes that frame `first` takes from the data areas of the frames
// before it (from runStart on), oldest first; zeros for what they lack.
std::vector<uint8_t> BorrowedBytes(TInputFile& input, const TFrameIndex& index, size_t runStart, size_t first);

struct TExactPlan {
    TCutPlan Plan;          // no frames when [s, e) holds no sample
    std::string Declined;   // why no exact cut can be made; empty when it can
    size_t StartFrame = 0;  // the frame of the index that holds s
    TStreamTime Zero;       // the frame time where the timeline of START and END begins
    TStreamTime Start;      // s on that timeline
};

// The plan on index, the frames as decoders find them (walked by the
// Decoder rule), for a Layer III stream whose first header frame carries
// encoder. The samples are counted within the run of frames of one format
// that holds START: from the stream's start when that run is the first.
TExactPlan PlanExactCut(TFrameIndex& index, TInputFile& input, const TEncoderInfo& encoder, int32_t StartMs,
                        int32_t EndMs);

// The exact cut with stretches left out between its ends: a stretch that
// holds START or END moves that end to its own far side, and the others go
// as RemoveStretches takes them out (joined at frame boundaries, borrowed
// bytes carried), their times on the same timeline as START and END. The
// frames that hold the first and last sample and the warm-up before them
// always stay, so that the delay and padding still describe the ends.
TExactPlan PlanExactEdit(TFrameIndex& index, TInputFile& input, const TEncoderInfo& encoder, int32_t StartMs,
                         int32_t EndMs, const std::vector<TRemoved>& removed);

} // namespace vivizu
