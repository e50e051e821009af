#include "engine/decode/FrameStarts.h"

#include "engine/FileStream.h"
#include "engine/FrameWalk.h"
#include "engine/RoruvoMp3.h"

namespace vivizu {

std::vector<int64_t> WalkAudioFrameStarts(const std::string& fileName)
{
    TRoruvoMP3 mp3;
    mp3.LoadFile(fileName, false);
    std::vector<int64_t> starts;
    if (!mp3.Valid)
        return starts;
    TInputFile input(fileName);
    const TMp3StreamInfo& info = mp3.Info;
    const int64_t audioEnd = mp3.FileSize - info.ID3v1Size - info.APESize;
    input.Seek(int64_t{info.ID3v2Size} + info.LeadingZeros, TSeekOrigin::Begin);
    int64_t end = 0;
    while (input.Position() < audioEnd - 4) {
        const int64_t from = input.Position();
        const TFrameStep step = SkipFrame(input, audioEnd);
        if (step.EndOfAudio || step.Position == from)
            break;
        if (step.Length <= 0)
            continue;
        const int64_t frameStart = step.Position - step.Length;
        if (starts.empty()) {
            input.Seek(frameStart, TSeekOrigin::Begin);
            const bool header = IsHeaderFrame(input.Peek(40));
            input.Seek(step.Position, TSeekOrigin::Begin);
            if (header)
                continue;
        }
        starts.push_back(frameStart);
        end = step.Position;
    }
    if (!starts.empty())
        starts.push_back(end);
    return starts;
}

} // namespace vivizu
