#include "engine/decode/FrameStarts.h"

#include "engine/RoruvoMp3.h"

namespace vivizu {

std::vector<int64_t> WalkAudioFrameStarts(const std::string& fileName)
{
    TRoruvoMP3 mp3;
    mp3.LoadFile(fileName);
    if (!mp3.Valid)
        return {};
    return AudioFrameStarts(mp3.Index());
}

std::vector<int64_t> AudioFrameStarts(const TFrameIndex& index)
{
    // The frame index leaves header frames out as it passes them.
    std::vector<int64_t> starts;
    starts.reserve(index.Count() + 1);
    for (size_t i = 0; i < index.Count(); ++i)
        starts.push_back(index.PositionOf(i));
    if (!starts.empty())
        starts.push_back(index.PositionOf(index.Count() - 1) + index.HeaderOf(index.Count() - 1).FrameLength());
    return starts;
}

} // namespace vivizu
