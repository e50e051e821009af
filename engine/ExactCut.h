#pragma once
// The exact cut: the frames, warm-up and reservoir that make a gapless
// decoder play exactly the samples [s, e) of the source's gapless decode,
// with START and END in milliseconds rounded to the nearest sample.
#include "engine/CutPlan.h"
#include "engine/LengthHeader.h"
#include <cstdint>

namespace vivizu {

struct TExactSource {
    int32_t SampleRate = 0;
    int32_t SamplesPerFrame = 0;
    TEncoderInfo Encoder; // the source's own delay and padding, when it has them
};

// Samples of the source's gapless timeline at ms milliseconds, rounded to the
// nearest (halves up).
int64_t MsToSample(int64_t ms, int32_t sampleRate);

// The plan for a Layer III source; no frames when [s, e) holds no sample.
TCutPlan PlanExactCut(TInputFile& input, int64_t audioStart, int64_t audioEnd, const TExactSource& source,
                      int32_t StartMs, int32_t EndMs);

} // namespace vivizu
