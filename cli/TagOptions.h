#pragma once
// The ID3v1 tag options that cut and join share: --tag, --no-tag and the
// fields (--title, --artist, --album, --year, --comment, --track, --genre),
// with the ids they are reported by, read and checked in one place.
#include "cli/Options.h"
#include "request/CutRequest.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>

namespace vivizu {

// The tag options' ids: above every command's own.
enum TTagOptionId : int {
    TagOptTag = FirstOptionId + 512, TagOptNoTag, TagOptTitle, TagOptArtist, TagOptAlbum, TagOptYear,
    TagOptComment, TagOptTrack, TagOptGenre,
};
inline constexpr TOptionDef TagOptionDefs[] = {
    {"tag", false, TagOptTag},       {"no-tag", false, TagOptNoTag},   {"title", true, TagOptTitle},
    {"artist", true, TagOptArtist},  {"album", true, TagOptAlbum},     {"year", true, TagOptYear},
    {"comment", true, TagOptComment}, {"track", true, TagOptTrack},    {"genre", true, TagOptGenre},
};

// A command's own options followed by others (the tag options).
template <size_t A, size_t B>
constexpr std::array<TOptionDef, A + B> WithOptions(const TOptionDef (&own)[A], const TOptionDef (&more)[B])
{
    std::array<TOptionDef, A + B> all{};
    for (size_t i = 0; i < A; ++i)
        all[i] = own[i];
    for (size_t i = 0; i < B; ++i)
        all[A + i] = more[i];
    return all;
}

// What the tag options asked.
struct TTagArgs {
    TTagEdits Edits;
    bool Tag = false, NoTag = false;
};

// Reads one option into args when id is a tag option (any other id is left
// alone); the text of the usage error when its value is not usable.
std::optional<std::string> ReadTagOption(int id, const std::string& value, TTagArgs& args);

// The tag mode the options ask for, or the usage error of options that
// exclude each other.
std::optional<std::string> TagModeOf(const TTagArgs& args, TTagMode& mode);

} // namespace vivizu
