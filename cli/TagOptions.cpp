#include "cli/TagOptions.h"

#include <charconv>
#include <string_view>

namespace vivizu {
namespace {

std::optional<int> ParseInt(std::string_view s)
{
    int value = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (ec != std::errc() || end != s.data() + s.size() || s.empty()) return std::nullopt;
    return value;
}

} // namespace

std::optional<std::string> ReadTagOption(int id, const std::string& value, TTagArgs& args)
{
    TTagEdits& e = args.Edits;
    switch (id) {
    case TagOptTag: args.Tag = true; break;
    case TagOptNoTag: args.NoTag = true; break;
    case TagOptTitle: e.Title = value; break;
    case TagOptArtist: e.Artist = value; break;
    case TagOptAlbum: e.Album = value; break;
    case TagOptYear: e.Year = value; break;
    case TagOptComment: e.Comment = value; break;
    case TagOptTrack:
        e.Track = ParseInt(value);
        if (!e.Track) return "--track expects a whole number, not '" + value + "'";
        break;
    case TagOptGenre:
        e.Genre = ParseInt(value);
        if (!e.Genre || *e.Genre < 0 || *e.Genre > 255)
            return "--genre expects a number from 0 to 255, not '" + value + "'";
        break;
    default: break;
    }
    return std::nullopt;
}

std::optional<std::string> TagModeOf(const TTagArgs& args, TTagMode& mode)
{
    if (args.Tag && args.NoTag) return "--tag and --no-tag exclude each other";
    if (args.NoTag && args.Edits.Any()) return "tag field options cannot go with --no-tag";
    mode = args.Tag ? TTagMode::Always : args.NoTag ? TTagMode::Never : TTagMode::FromSource;
    return std::nullopt;
}

} // namespace vivizu
