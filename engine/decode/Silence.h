#pragma once
// Pauses in decoded levels: stretches where every block stays below a level.
#include "engine/decode/LevelMeter.h"

#include <vector>

namespace vivizu {

struct TSilenceOptions {
    double ThresholdDb = -48.0;    // dBFS; a block is quiet when its RMS is below
    double MinLengthSeconds = 1.0; // shorter quiet stretches are no pause
};

struct TSilence {
    int64_t Start = 0;     // first sample, counted from the range's start
    int64_t End = 0;       // the sample after the last
    double LevelDb = 0.0;  // the loudest block's RMS within, dBFS
};

// The silences of blocks (in order, as DecodeLevels gives them): a block is
// quiet when the RMS of its loudest channel is below the threshold, so that
// a signal in one channel alone or in opposite phase is never taken for
// silence.
std::vector<TSilence> FindSilences(std::span<const TLevelBlock> blocks, int sampleRate,
                                   const TSilenceOptions& options = {});

} // namespace vivizu
