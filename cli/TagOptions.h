#pragma once
// The ID3v1 tag options that cut and join share: --tag, --no-tag and the
// fields (--title, --artist, --album, --year, --comment, --track, --genre),
// with the ids they are reported by, read and checked in one place.
#include "cli/Options.h"
#include "request/CutRequest.h"

#include <algorithm>
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
// All but --track, which split leaves out: its pieces count from
// --track-start.
inline constexpr TOptionDef TagFieldOptionDefs[] = {
    {"tag", false, TagOptTag},       {"no-tag", false, TagOptNoTag},   {"title", true, TagOptTitle},
    {"artist", true, TagOptArtist},  {"album", true, TagOptAlbum},     {"year", true, TagOptYear},
    {"comment", true, TagOptComment}, {"genre", true, TagOptGenre},
};
inline constexpr TOptionDef TrackOptionDefs[] = {{"track", true, TagOptTrack}};

// A command's own options followed by others (the tag options).
template <size_t... N>
constexpr std::array<TOptionDef, (N + ...)> WithOptions(const TOptionDef (&... tables)[N])
{
    std::array<TOptionDef, (N + ...)> all{};
    size_t at = 0;
    ((std::copy(tables, tables + N, all.begin() + at), at += N), ...);
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
