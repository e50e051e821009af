#include "engine/decode/Silence.h"

#include <algorithm>
#include <cmath>

namespace vivizu {

TSilenceFinder::TSilenceFinder(int sampleRate, const TSilenceOptions& options)
    : FThreshold(std::pow(10.0, options.ThresholdDb / 20.0)),
      FMinLength(static_cast<int64_t>(std::ceil(options.MinLengthSeconds * sampleRate)))
{
}

void TSilenceFinder::Add(const TLevelBlock& b)
{
    const double level = std::max(b.Channel[0].Rms, b.Channel[1].Rms);
    if (level < FThreshold) {
        if (!FOpen) {
            FOpen = true;
            FCurrent = {};
            FCurrent.Start = b.Start;
            FLoudest = 0.0;
        }
        FLoudest = std::max(FLoudest, level);
    } else if (FOpen) {
        Close(b.Start);
    }
    FEnd = b.Start + b.Count;
}

void TSilenceFinder::Close(int64_t end)
{
    FCurrent.End = end;
    FCurrent.LevelDb = LevelToDb(FLoudest);
    if (FCurrent.End - FCurrent.Start >= FMinLength)
        FFound.push_back(FCurrent);
    FOpen = false;
}

std::vector<TSilence> TSilenceFinder::Finish()
{
    if (FOpen)
        Close(FEnd);
    return std::move(FFound);
}

std::vector<TSilence> FindSilences(std::span<const TLevelBlock> blocks, int sampleRate,
                                   const TSilenceOptions& options)
{
    TSilenceFinder finder(sampleRate, options);
    for (const TLevelBlock& b : blocks)
        finder.Add(b);
    return finder.Finish();
}

} // namespace vivizu
