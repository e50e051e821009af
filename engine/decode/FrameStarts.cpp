#include "engine/decode/FrameStarts.h"

#include "engine/frames/FrameIndex.h"

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

} // namespace vivizu
