#pragma once
// Files and reference decoding shared by the preview tests.
#include <cstdint>
#include <string>
#include <vector>

namespace vivizu::test {

std::string Fixture(const std::string& name);

// A file of the given contents in a fresh temporary folder.
std::string WriteTempFile(const std::string& name, const std::string& contents);

// libmpg123's own decoding of sample frames [first, first + count) of a
// file, with the device's settings (no gapless trimming, the header frame
// not played), through a handle of its own.
struct TReference {
    long Rate = 0;
    int Channels = 0;
    int64_t LengthFrames = 0;
    std::vector<int16_t> Samples;
};
TReference DecodeReference(const std::string& fileName, int64_t first, int64_t count);

} // namespace vivizu::test
