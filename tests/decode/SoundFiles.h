#pragma once
// Small MP3 files made for a test with sox and LAME in a folder that is
// removed afterwards, and a plain libmpg123 decode of a whole file to compare
// the engine's decoders with.
#include "engine/decode/GranuleLevels.h"
#include "engine/decode/LevelMeter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace vivizu::test {

class TSoundFolder {
public:
    TSoundFolder();
    ~TSoundFolder();
    TSoundFolder(const TSoundFolder&) = delete;
    TSoundFolder& operator=(const TSoundFolder&) = delete;

    const std::string& Path() const { return FPath; }

    // Runs `sox -n <soxArgs>` into a WAV file and `lame <lameArgs>` on it;
    // returns the MP3's path. Fails the test when a tool fails.
    std::string Mp3(const std::string& name, const std::string& soxArgs, const std::string& lameArgs);

private:
    std::string FPath;
};

// Runs a shell command; its standard output.
std::string RunShell(const std::string& command);

// The first byte of every audio frame of fileName as its frame index gives
// them, followed by the end of the last frame: a table of the frames' starts
// for decodes of the tests' own ranges. None when it is no MP3 stream.
std::vector<int64_t> WalkAudioFrameStarts(const std::string& fileName);

// Every audio frame of fileName decoded by libmpg123 in one go (no encoder
// delay trimmed), as float samples with channels interleaved.
std::vector<float> DecodeWholeFile(const std::string& fileName, int* channels = nullptr);

// The level estimate of fileName as opening it with EstimateLevels gathers
// it; fails the test unless a second read over the complete index gives the
// same levels.
TGranuleLevels OpeningEstimate(const std::string& fileName);

} // namespace vivizu::test

namespace vivizu {

// DecodeLevelBlocks with every block kept, for comparing whole decodes.
TLevels DecodeLevels(const std::string& fileName, const TDecodeRange& range, int32_t blockSamples,
                     const TDecodeOptions& options, std::function<void(std::span<const float>)> pcm = {},
                     TSampleTrim trim = {});

} // namespace vivizu
