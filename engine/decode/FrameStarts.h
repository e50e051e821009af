#pragma once
// Where a file's audio frames begin, as the decoders read them: from the
// engine's frame index, which knows every frame's position already (so a
// decode keeps no table of its own), or from a table of starts.
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vivizu {

class TFrameIndex;

// The first byte of every audio frame (an encoder's Xing/Info header frame
// left out), followed by the end of the last frame: frames + 1 entries, or
// none when there is no audio frame. Refers to its index or table, which
// must outlive it.
class TFrameStarts {
public:
    TFrameStarts() = default;
    TFrameStarts(const TFrameIndex& index) : FIndex(&index) {}
    TFrameStarts(std::span<const int64_t> starts) : FTable(starts) {}
    TFrameStarts(const std::vector<int64_t>& starts) : FTable(starts) {}

    size_t size() const;
    bool empty() const { return size() == 0; }
    // Entry i: the start of frame i, or the end of the last frame for the
    // last entry.
    int64_t operator[](size_t i) const;

private:
    const TFrameIndex* FIndex = nullptr;
    std::span<const int64_t> FTable;
};

} // namespace vivizu
