#pragma once
// ID3v2 chapters: CHAP frames with a CTOC table of contents, rendered by
// TagLib into a tag that goes in front of the unchanged audio.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vivizu {

struct TChapter {
    uint32_t StartMs = 0;
    uint32_t EndMs = 0;
    std::string Title; // UTF-8; empty: the chapter has no title frame
};

// The source's tag (tagBytes, the whole tag with its header; empty: none)
// with its own chapter and table of contents frames replaced by chapters,
// "ch1", "ch2"... listed in order by one top-level, ordered CTOC "toc".
std::vector<uint8_t> ChapteredId3v2Tag(std::span<const uint8_t> tagBytes, const std::vector<TChapter>& chapters);

} // namespace vivizu
