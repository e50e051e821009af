// The ID3v2 copier behind --keep-id3v2 on arbitrary tags: the first byte
// picks which fields are edited (the second gives the track and genre), the
// rest is the tag. A crash, hang, leak or sanitizer report is a finding; so
// is a kept tag that is not a whole, readable ID3v2 tag.
#include "engine/tags/Id3v2Copy.h"
#include "engine/tags/Id3v2Size.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

using namespace vivizu;

namespace {

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "copier promise broken: %s\n", what);
        std::abort();
    }
}

// A whole ID3v2.3 or 2.4 tag: header, the size it gives, nothing after.
void RequireWholeTag(const std::vector<uint8_t>& tag)
{
    Require(tag.size() >= 10 && std::memcmp(tag.data(), "ID3", 3) == 0, "a kept tag begins with its header");
    Require(tag[3] == 3 || tag[3] == 4, "a kept tag is version 2.3 or 2.4");
    Require(ID3v2TagLength(tag.data()) == static_cast<int64_t>(tag.size()), "a kept tag is as long as it says");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const uint8_t pick = data[0];
    const uint8_t value = data[1];
    TId3v2Edits edits;
    if (pick & 0x01)
        edits.Title = (pick & 0x10) ? std::string("Fuzz \xC3\xA9 Title") : std::string();
    if (pick & 0x02)
        edits.Artist = (pick & 0x20) ? std::string("Artist") : std::string();
    if (pick & 0x04)
        edits.Comment = (pick & 0x40) ? std::string("Comment") : std::string();
    if (pick & 0x08)
        edits.Track = value;
    if (pick & 0x80)
        edits.Genre = value;
    const std::span<const uint8_t> tagBytes(data + 2, size - 2);

    const std::vector<uint8_t> kept = KeptId3v2Tag(tagBytes, edits);
    if (kept.empty())
        return 0;
    RequireWholeTag(kept);
    // What the copier wrote, it reads again (a cut's tag kept by a cut of
    // that cut).
    const std::vector<uint8_t> again = KeptId3v2Tag(kept, {});
    Require(!again.empty(), "a kept tag is read again");
    RequireWholeTag(again);
    return 0;
}
