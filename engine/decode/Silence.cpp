#include "engine/decode/Silence.h"

#include <algorithm>
#include <cmath>

namespace vivizu {

std::vector<TSilence> FindSilences(std::span<const TLevelBlock> blocks, int sampleRate,
                                   const TSilenceOptions& options)
{
    std::vector<TSilence> found;
    const double threshold = std::pow(10.0, options.ThresholdDb / 20.0);
    const auto minLength = static_cast<int64_t>(std::ceil(options.MinLengthSeconds * sampleRate));
    bool open = false;
    TSilence current;
    double loudest = 0.0;
    const auto close = [&](int64_t end) {
        current.End = end;
        current.LevelDb = LevelToDb(loudest);
        if (current.End - current.Start >= minLength)
            found.push_back(current);
        open = false;
    };
    for (const TLevelBlock& b : blocks) {
        const double level = std::max(b.Channel[0].Rms, b.Channel[1].Rms);
        if (level < threshold) {
            if (!open) {
                open = true;
                current = {};
                current.Start = b.Start;
                loudest = 0.0;
            }
            loudest = std::max(loudest, level);
        } else if (open) {
            close(b.Start);
        }
    }
    if (open)
        close(blocks.back().Start + blocks.back().Count);
    return found;
}

} // namespace vivizu
