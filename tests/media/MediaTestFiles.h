#pragma once
// Files, reference decoding and helpers shared by the preview tests.
// Temporary files come from the engine tests' TempDir.
#include "engine/MediaDevice.h"
#include "tests/engine/Mp3Bytes.h"

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace vivizu::test {

std::string Fixture(const std::string& name);

// Polls until the device no longer plays; false when it still plays after
// `limit`.
bool WaitStopped(const TMediaDevice& device, std::chrono::milliseconds limit);

// Sets an environment variable for the life of a test.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* FName;
    std::string FOld;
    bool FHadOld = false;
};

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
