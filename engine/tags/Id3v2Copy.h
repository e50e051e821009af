#pragma once
// The source's leading ID3v2 tag as it goes to the start of a cut: read and
// rendered anew by TagLib, every frame kept (pictures included) except those
// that describe the old file's length or byte layout, with the fields the
// user edited put in place of the tag's own.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vivizu {

// Fields to replace; texts are UTF-8. An empty text removes the frame, and
// so does a genre that names no genre (above 147).
struct TId3v2Edits {
    std::optional<std::string> Title, Artist, Album, Year, Comment;
    std::optional<int> Track, Genre;
};

// The tag rendered from tagBytes (the whole tag with its 10-byte header),
// in the tag's own version (2.3 stays 2.3; 2.2 and 2.4 become 2.4). Empty
// when the bytes hold no tag TagLib can read.
std::vector<uint8_t> KeptId3v2Tag(std::span<const uint8_t> tagBytes, const TId3v2Edits& edits);

// The title (TIT2) of the tag tagBytes, UTF-8; empty when it has none.
std::string Id3v2Title(std::span<const uint8_t> tagBytes);

} // namespace vivizu
