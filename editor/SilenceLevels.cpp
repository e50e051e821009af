#include "editor/SilenceLevels.h"

#include "engine/cut/SilenceSplit.h"
#include "engine/decode/LevelMeter.h"

#include <algorithm>

namespace vivizu {

TSilenceLevels DecodeSilenceLevels(const std::string& fileName, const TFrameIndex& index,
                                   const std::atomic<bool>* cancel) {
    TSilenceLevels levels;
    if (index.Count() == 0) {
        levels.Result.Status = TDecodeStatus::EmptyRange;
        levels.Result.Message = fileName + ": the stream holds no audio frame";
        return levels;
    }
    // The block length of FindStreamSilences: the first frame's rate / 100.
    const int rate = index.HeaderOf(0).SampleRate();
    const int32_t block = std::max(1, rate / 100);
    TDecodeOptions options;
    options.Cancel = cancel;
    levels.Result = DecodeLevelBlocks(fileName, {index, 0, index.Count()}, block, options, [&](const TLevelBlock& b) {
        levels.Blocks.push_back({b.Start, b.Count, std::max(b.Channel[0].Rms, b.Channel[1].Rms)});
    });
    levels.SampleRate = levels.Result.Format.SampleRate > 0 ? levels.Result.Format.SampleRate : rate;
    if (levels.Result.Status != TDecodeStatus::Done)
        levels.Blocks.clear();
    return levels;
}

std::vector<TSilence> SilencesOf(const TSilenceLevels& levels, const TSilenceOptions& options) {
    TSilenceFinder finder(levels.SampleRate, options);
    TLevelBlock block;
    for (const TSilenceLevels::TBlock& b : levels.Blocks) {
        block.Start = b.Start;
        block.Count = b.Count;
        block.Channel[0].Rms = block.Channel[1].Rms = b.Rms;
        finder.Add(block);
    }
    return finder.Finish();
}

size_t SplitPieceCount(const TFrameIndex& index, const std::vector<TSilence>& silences, int sampleRate,
                       bool exact) {
    const TSilencePlan plan = PlanSilenceSplit(index, silences, sampleRate, std::nullopt, exact);
    if (plan.Pauses.empty() || !plan.Ranges.Declined.empty())
        return 1;
    return plan.Ranges.Pieces.size();
}

} // namespace vivizu
