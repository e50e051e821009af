#include "engine/decode/FrameStarts.h"

#include "engine/RoruvoMp3.h"
#include "engine/decode/StreamSilences.h"

namespace vivizu {

std::vector<int64_t> WalkAudioFrameStarts(const std::string& fileName)
{
    TRoruvoMP3 mp3;
    mp3.LoadFile(fileName);
    if (!mp3.Valid)
        return {};
    // The frame index leaves header frames out as it passes them.
    return FrameStartsOf(mp3.Index());
}

} // namespace vivizu
