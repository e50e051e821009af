#include "engine/decode/SelectionLoudness.h"

#include "engine/RoruvoMp3.h"

#include <vector>

namespace vivizu {

TLoudnessResult MeasureSelectionLoudness(TRoruvoMP3& mp3, int32_t StartMs, int32_t EndMs,
                                         const TDecodeOptions& options)
{
    const TLoudnessResult empty = NothingToMeasure();
    if (!mp3.Valid)
        return empty;
    const TFrameIndex& index = mp3.CompleteIndex();
    if (index.Count() == 0)
        return empty;
    std::vector<int64_t> starts;
    starts.reserve(index.Count() + 1);
    for (size_t i = 0; i < index.Count(); ++i)
        starts.push_back(index.PositionOf(i));
    starts.push_back(index.PositionOf(index.Count() - 1) + index.HeaderOf(index.Count() - 1).FrameLength());
    const size_t first = index.FirstAtOrAfter(TStreamTime::FromMs(StartMs));
    const size_t last = index.FirstAtOrAfter(TStreamTime::FromMs(EndMs));
    if (first >= last)
        return empty;
    return MeasureLoudness(mp3.FileName, TDecodeRange{starts, first, last}, options);
}

} // namespace vivizu
