#pragma once
// Where a file's audio frames begin, from the engine's frame index: the
// input the decoders below take.
#include <cstdint>
#include <string>
#include <vector>

namespace vivizu {

// The first byte of every audio frame (an encoder's Xing/Info header frame
// left out), followed by the end of the last frame: frames + 1 entries, or
// none when the file holds no audio frame. Raises std::system_error when the
// file cannot be read.
std::vector<int64_t> WalkAudioFrameStarts(const std::string& fileName);

class TFrameIndex;
// The same from an index already walked.
std::vector<int64_t> AudioFrameStarts(const TFrameIndex& index);

} // namespace vivizu
