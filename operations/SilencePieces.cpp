#include "operations/SilencePieces.h"

#include "engine/decode/StreamSilences.h"

namespace vivizu {

TSilencePieces SilencePiecesOf(const TFrameIndex& index, const TStreamSilences& silences,
                               std::optional<TStreamTime> keep, bool exact)
{
    TSilencePieces found;
    found.Result = silences.Result;
    if (silences.Result.Status != TDecodeStatus::Done)
        return found;
    found.SampleRate = silences.SampleRate;
    found.Plan = PlanSilenceSplit(index, silences.Silences, silences.SampleRate, keep, exact);
    if (silences.SampleRate > 0 && silences.Silences.size() == 1) {
        const TSilence& s = silences.Silences.front();
        found.SilentThroughout =
            s.Start <= 0 && TStreamTime::FromSamples(s.End, silences.SampleRate) >= index.Duration();
    }
    return found;
}

TSilencePieces FindSilencePieces(const std::string& file, const TFrameIndex& index, const TSilenceOptions& silence,
                                 std::optional<TStreamTime> keep, bool exact, const TDecodeOptions& decode)
{
    return SilencePiecesOf(index, FindStreamSilences(file, index, silence, decode), keep, exact);
}

} // namespace vivizu
