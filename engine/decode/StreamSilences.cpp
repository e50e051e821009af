#include "engine/decode/StreamSilences.h"

#include "engine/decode/LevelMeter.h"

#include <algorithm>

namespace vivizu {

TStreamSilences FindStreamSilences(const std::string& fileName, const TFrameIndex& index,
                                   const TSilenceOptions& silence, const TDecodeOptions& decode)
{
    TStreamSilences found;
    if (index.Count() == 0) {
        found.Result.Status = TDecodeStatus::EmptyRange;
        found.Result.Message = fileName + ": the stream holds no audio frame";
        return found;
    }
    const int rate = index.HeaderOf(0).SampleRate();
    // Blocks of 10 ms: fine enough to place a split well inside a pause of
    // half a second, coarse enough to cost nothing next to the decode. The
    // blocks go to the finder as they close: the search keeps the pauses
    // only. The decode's format is the first frame's, whose rate is rate.
    const int32_t block = std::max(1, rate / 100);
    TSilenceFinder finder(rate, silence);
    found.Result = DecodeLevelBlocks(fileName, {index, 0, index.Count()}, block, decode,
                                     [&](const TLevelBlock& b) { finder.Add(b); });
    found.SampleRate = found.Result.Format.SampleRate > 0 ? found.Result.Format.SampleRate : rate;
    if (found.Result.Status == TDecodeStatus::Done)
        found.Silences = finder.Finish();
    return found;
}

} // namespace vivizu
