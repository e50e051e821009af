#pragma once
// The frames of a file between two times, for the commands that decode.
#include "engine/RoruvoMp3.h"
#include "engine/decode/DecodeTypes.h"
#include "engine/decode/SampleTrim.h"

#include <memory>

#include <optional>
#include <string>
#include <vector>

namespace vivizu {

struct TCliRange {
    // The walked file, whose frame index gives the frames' starts.
    std::unique_ptr<TRoruvoMP3> Source;
    size_t First = 0;
    size_t Last = 0;
    int64_t StartMs = 0; // where frames First and Last begin
    int64_t EndMs = 0;
    // The encoder's delay and padding where the range holds the stream's
    // first or last frame: what gapless players leave out.
    TSampleTrim Trim;

    TFrameStarts Starts() const { return Source->Index(); }
    TDecodeRange Range() const { return {Starts(), First, Last}; }
};

// Walks fileName's frames and picks those from the first that begins at or
// after start to the first that begins at or after end (the whole stream
// without times), as a cut picks them. Returns an exit code and prints why
// when it cannot: not an MP3 stream, no frame in the range, a read error.
std::optional<int> ResolveRange(const std::string& fileName, std::optional<int64_t> startMs,
                                std::optional<int64_t> endMs, const std::string& command, TCliRange& range);

class TFrameIndex;
// The trim gapless players apply to the decode of frames [first, last) of
// index (of fileName): the encoder's delay and padding from its header
// frame; nothing without one.
TSampleTrim GaplessTrimOf(const std::string& fileName, const TFrameIndex& index, size_t first, size_t last);

// The exit code and message of a decode that did not end as Done.
int ReportDecodeFailure(const std::string& command, const TDecodeResult& result);

// Reads "--threads N" values: 1 to 256.
std::optional<unsigned> ParseThreads(const std::string& text);

} // namespace vivizu
