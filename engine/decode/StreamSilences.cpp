#include "engine/decode/StreamSilences.h"

#include "engine/decode/FrameStarts.h"

#include "engine/decode/LevelMeter.h"

#include <algorithm>

namespace vivizu {

TStreamSilences FindStreamSilences(const std::string& fileName, const TFrameIndex& index,
                                   const TSilenceOptions& silence, const TDecodeOptions& decode)
{
    TStreamSilences found;
    const std::vector<int64_t> starts = AudioFrameStarts(index);
    if (starts.empty()) {
        found.Result.Status = TDecodeStatus::EmptyRange;
        found.Result.Message = fileName + ": the stream holds no audio frame";
        return found;
    }
    const int rate = index.HeaderOf(0).SampleRate();
    // Blocks of 10 ms: fine enough to place a split well inside a pause of
    // half a second, coarse enough to cost nothing next to the decode.
    const int32_t block = std::max(1, rate / 100);
    TLevels levels = DecodeLevels(fileName, {starts, 0, index.Count()}, block, decode);
    found.Result = levels.Result;
    found.SampleRate = levels.Result.Format.SampleRate > 0 ? levels.Result.Format.SampleRate : rate;
    if (found.Result.Status == TDecodeStatus::Done && !levels.Blocks.empty())
        found.Silences = FindSilences(levels.Blocks, found.SampleRate, silence);
    return found;
}

} // namespace vivizu
