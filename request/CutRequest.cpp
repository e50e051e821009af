#include "request/CutRequest.h"

#include "platform/CodePage.h"

#include <algorithm>
#include <cstring>

namespace vivizu {
namespace {

constexpr uint8_t NoGenre = 255;
constexpr std::size_t CommentWithTrack = 28; // ID3v1.1 keeps bytes 28-29 for the track

template <std::size_t N>
void SetField(char (&field)[N], std::string_view text)
{
    std::memset(field, 0, N);
    std::memcpy(field, text.data(), std::min(N, text.size()));
}

template <std::size_t N>
std::string Source(const char (&field)[N])
{
    return std::string(TagFieldText(field));
}

} // namespace

TID3v1Tag BuildCutTag(const TMp3StreamInfo& source, TTagMode mode, const TTagEdits& edits,
                      int codePage)
{
    TID3v1Tag tag{};
    const bool sourceHasTag = source.ID3v1Size == 128;
    const bool write = mode == TTagMode::Always ||
                       (mode == TTagMode::FromSource && (sourceHasTag || edits.Any()));
    if (!write) return tag;

    // Start from the source's texts (in the code page already) or from none.
    std::string title, artist, album, year, comment;
    int track = 0;
    int genre = NoGenre;
    if (sourceHasTag) {
        const TID3v1Tag& s = source.Tag;
        title = Source(s.Title);
        artist = Source(s.Artist);
        album = Source(s.Album);
        year = Source(s.Year);
        comment = Source(s.Comment);
        track = s.Track;
        genre = s.Genre;
    }

    if (edits.Track) track = (*edits.Track >= 1 && *edits.Track <= 255) ? *edits.Track : 0;
    if (edits.Genre) genre = *edits.Genre;
    const std::size_t commentBytes = track > 0 ? CommentWithTrack : sizeof tag.Comment;

    const auto apply = [codePage](std::string& text, const std::optional<std::string>& edit,
                                  std::size_t maxBytes) {
        if (edit) text = TagFieldBytes(*edit, maxBytes, codePage);
        else text = std::string(CutToBytes(text, maxBytes, codePage));
    };
    apply(title, edits.Title, sizeof tag.Title);
    apply(artist, edits.Artist, sizeof tag.Artist);
    apply(album, edits.Album, sizeof tag.Album);
    apply(year, edits.Year, sizeof tag.Year);
    apply(comment, edits.Comment, commentBytes);

    std::memcpy(tag.Marker, "TAG", 3);
    SetField(tag.Title, title);
    SetField(tag.Artist, artist);
    SetField(tag.Album, album);
    SetField(tag.Year, year);
    SetField(tag.Comment, comment);
    tag.Track = static_cast<uint8_t>(track);
    tag.Genre = static_cast<uint8_t>(genre);
    return tag;
}

TCutRequest BuildCutRequest(const TMp3StreamInfo& source, const TCutChoices& choices,
                            int codePage)
{
    TCutRequest request;
    request.Tag = BuildCutTag(source, choices.Mode, choices.Edits, codePage);
    TCutOptions& options = request.Options;
    options.DeclineEmpty = choices.DeclineEmpty;
    options.KeepID3v2 = choices.KeepID3v2;
    options.LengthHeader = choices.LengthHeader;
    options.ExactCut = choices.ExactCut;
    options.GainSteps = choices.GainSteps;
    options.FadeInMs = choices.FadeInMs;
    options.FadeOutMs = choices.FadeOutMs;
    options.Removed = choices.Removed;
    options.JoinFadeMs = choices.JoinFadeMs;
    options.StretchChapters = choices.StretchChapters;
    options.TagTextToUtf8 = [codePage](std::string_view text) { return TagTextToUtf8(text, codePage); };
    return request;
}

std::string TagFieldBytes(std::string_view utf8, std::size_t maxBytes, int codePage)
{
    return Utf8ToAnsi(utf8, codePage, maxBytes);
}

std::string TagTextToUtf8(std::string_view text, int codePage)
{
    return AnsiToUtf8(text, codePage);
}

} // namespace vivizu
