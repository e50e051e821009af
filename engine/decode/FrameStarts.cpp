#include "engine/decode/FrameStarts.h"

#include "engine/RoruvoMp3.h"

namespace vivizu {

size_t TFrameStarts::size() const
{
    if (FIndex == nullptr)
        return FTable.size();
    return FIndex->Count() == 0 ? 0 : FIndex->Count() + 1;
}

int64_t TFrameStarts::operator[](size_t i) const
{
    if (FIndex == nullptr)
        return FTable[i];
    // The frame index leaves header frames out as it passes them.
    if (i < FIndex->Count())
        return FIndex->PositionOf(i);
    return FIndex->PositionOf(i - 1) + FIndex->HeaderOf(i - 1).FrameLength();
}

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
    const TFrameStarts starts(index);
    std::vector<int64_t> table(starts.size());
    for (size_t i = 0; i < table.size(); ++i)
        table[i] = starts[i];
    return table;
}

} // namespace vivizu
