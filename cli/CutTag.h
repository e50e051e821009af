#pragma once
// The ID3v1 tag record that a cut gives to the engine: the source's tag,
// an empty one, or none, with the user's field changes applied.
#include "engine/tags/Id3v1Tag.h"
#include "engine/StreamInfo.h"
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace vivizu {

enum class TTagMode {
    FromSource, // the source's tag when it has one (or when fields are changed)
    Always,     // a tag even when the source has none
    Never,      // no tag
};

// Field changes; texts are UTF-8. Track is any whole number (outside 1-255
// it means no track), Genre is 0-255.
struct TTagEdits {
    std::optional<std::string> Title, Artist, Album, Year, Comment;
    std::optional<int> Track, Genre;

    bool Any() const
    {
        return Title || Artist || Album || Year || Comment || Track || Genre;
    }
};

// The record to write: its marker is "TAG" when a tag is to be written and
// three zero bytes otherwise. Text fields hold the text up to its first zero
// byte and zero bytes after it, in codePage, cut at whole characters.
TID3v1Tag BuildCutTag(const TMp3StreamInfo& source, TTagMode mode, const TTagEdits& edits,
                      int codePage);

} // namespace vivizu
