#pragma once
// Decodes an MP3 file to 16-bit samples with libmpg123 (gapless) and with
// ffmpeg, for tests that compare what players hear.
#include "tests/engine/Mp3Bytes.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vivizu::test {

using Pcm = std::vector<int16_t>;

struct TDecoded {
    Pcm Samples;        // interleaved
    int Channels = 0;
    std::string Errors; // what the decoder reported
};

TDecoded DecodeMpg123(const std::string& path);
// ffmpeg's decode as `channels` channels; dir holds its error output.
TDecoded DecodeFfmpeg(const std::string& path, int channels, const TempDir& dir);

} // namespace vivizu::test
