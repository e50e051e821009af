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

// Finds silences in blocks handed to it one by one, in order (as a decode
// of levels gives them), keeping the silences found and nothing of the
// blocks: a block is quiet when the RMS of its loudest channel is below the
// threshold, so that a signal in one channel alone or in opposite phase is
// never taken for silence.
class TSilenceFinder {
public:
    TSilenceFinder(int sampleRate, const TSilenceOptions& options = {});
    void Add(const TLevelBlock& block);
    // Closes a silence that lasts to the last block; the silences found.
    std::vector<TSilence> Finish();

private:
    void Close(int64_t end);

    double FThreshold;
    int64_t FMinLength;
    bool FOpen = false;
    TSilence FCurrent;
    double FLoudest = 0.0;
    int64_t FEnd = 0; // the sample after the last block
    std::vector<TSilence> FFound;
};

// The silences of blocks, as a TSilenceFinder fed with them finds them.
std::vector<TSilence> FindSilences(std::span<const TLevelBlock> blocks, int sampleRate,
                                   const TSilenceOptions& options = {});

} // namespace vivizu
