// Feeds arbitrary bytes to the level cache's entry reader, as a file that
// another program (or a damaged disk) left in the cache folder. A crash,
// hang, leak or sanitizer report is a finding; so is an entry accepted with
// levels outside 0..1 or a granule length that is not a positive number.
#include "engine/decode/LevelCache.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace vivizu;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::vector<uint8_t> bytes(data, data + size);
    // The identity the seeds were written for, and one read from the bytes
    // themselves, so that the fuzzer reaches past the header check.
    const TFileIdentity song{"/music/song.mp3", 123456, 1700000000123456789};
    TFileIdentity own;
    if (size >= 16) {
        uint32_t length = 0;
        for (int i = 0; i < 4; ++i)
            length |= uint32_t{data[12 + i]} << (8 * i);
        if (length <= size - 16) {
            own.Path.assign(reinterpret_cast<const char*>(data + 16), length);
            const size_t at = 16 + length;
            if (size - at >= 16) {
                own.Size = own.MTimeNs = 0;
                for (int i = 0; i < 8; ++i) {
                    own.Size |= int64_t{data[at + i]} << (8 * i);
                    own.MTimeNs |= int64_t{data[at + 8 + i]} << (8 * i);
                }
            }
        }
    }
    for (const TFileIdentity& file : {song, own}) {
        const auto levels = ParseLevelEntry(bytes, file);
        if (!levels)
            continue;
        if (!(levels->MsPerGranule > 0) || !std::isfinite(levels->MsPerGranule))
            std::abort();
        for (const float level : levels->Levels)
            if (!(level >= 0.0f && level <= 1.0f))
                std::abort();
    }
    return 0;
}
