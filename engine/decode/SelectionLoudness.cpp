#include "engine/decode/SelectionLoudness.h"

#include "engine/RoruvoMp3.h"

namespace vivizu {

TSelectionFrames SelectionFrames(TRoruvoMP3& mp3, int32_t StartMs, int32_t EndMs)
{
    TSelectionFrames frames;
    frames.FileName = mp3.FileName;
    if (!mp3.Valid)
        return frames;
    const TFrameIndex& index = mp3.CompleteIndex();
    if (index.Count() == 0)
        return frames;
    frames.Index = index;
    frames.First = index.FirstAtOrAfter(TStreamTime::FromMs(StartMs));
    frames.Last = index.FirstAtOrAfter(TStreamTime::FromMs(EndMs));
    return frames;
}

TLoudnessResult MeasureSelectionLoudness(const TSelectionFrames& frames, const TDecodeOptions& options)
{
    if (frames.Empty())
        return NothingToMeasure();
    return MeasureLoudness(frames.FileName, frames.Range(), options);
}

TLoudnessResult MeasureSelectionLoudness(TRoruvoMP3& mp3, int32_t StartMs, int32_t EndMs,
                                         const TDecodeOptions& options)
{
    return MeasureSelectionLoudness(SelectionFrames(mp3, StartMs, EndMs), options);
}

TLoudnessResult MeasureSelectionsLoudness(std::span<const TSelectionFrames> selections,
                                          const TDecodeOptions& options)
{
    std::vector<TLoudnessPart> parts;
    for (const TSelectionFrames& frames : selections)
        if (!frames.Empty())
            parts.push_back({frames.FileName, frames.Range()});
    return MeasureLoudnessTogether(parts, options);
}

} // namespace vivizu
