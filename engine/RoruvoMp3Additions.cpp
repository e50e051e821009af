// What a cut adds around its frames: the source's ID3v2 tag kept in front
// with the user's edits, a header frame that gives players the length, and
// the ID3v1 tag after them.
#include "engine/RoruvoMp3.h"

#include "engine/cut/CutWriter.h"
#include "engine/cut/LengthHeader.h"
#include "engine/frames/FrameWalk.h"
#include "engine/io/FileStream.h"
#include "engine/tags/Id3v2Copy.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace vivizu {
namespace {

// Written as the encoder's text in the header frame of a source whose own
// header frame names none, in the form players look for.
constexpr std::array<uint8_t, 9> DefaultEncoderText{'L', 'A', 'M', 'E', '3', '.', '1', '0', '0'};

// The bytes [from, from + count) of the input.
std::vector<uint8_t> ReadBytes(TInputFile& input, int64_t from, size_t count)
{
    std::vector<uint8_t> bytes;
    bytes.reserve(count);
    input.Seek(from, TSeekOrigin::Begin);
    while (bytes.size() < count) {
        const auto part = input.Take(std::min(count - bytes.size(), TInputFile::BufferSize));
        if (part.empty())
            break;
        bytes.insert(bytes.end(), part.begin(), part.end());
    }
    return bytes;
}

} // namespace

TEncoderInfo TRoruvoMP3::SourceEncoder(TInputFile& input) const
{
    input.Seek(AudioStart(), TSeekOrigin::Begin);
    const std::span<const uint8_t> first = input.Peek(2048);
    return IsHeaderFrame(first) ? ReadEncoderInfo(first) : TEncoderInfo{};
}

TStreamTime TRoruvoMP3::GaplessDuration()
{
    const TFrameIndex& index = CompleteIndex();
    if (index.Count() == 0)
        return index.Duration();
    TInputFile input(FileName);
    const TEncoderInfo encoder = SourceEncoder(input);
    if (!encoder.Present)
        return index.Duration();
    const TStreamTime trimmed =
        TStreamTime::FromSamples(encoder.Delay + encoder.Padding, index.HeaderOf(0).SampleRate());
    return index.Duration() > trimmed ? TStreamTime{index.Duration().Ticks - trimmed.Ticks} : TStreamTime{};
}

TCutLayout TRoruvoMP3::Layout(TInputFile& input, const TID3v1Tag& Tag, const TCutOptions& Options) const
{
    TCutLayout layout;
    if (Options.LengthHeader || Options.ExactCut) {
        layout.LengthHeader = true;
        const TEncoderInfo encoder = SourceEncoder(input);
        layout.EncoderText = encoder.Present ? encoder.Version : DefaultEncoderText;
    }
    if (Options.KeepID3v2 && Info.ID3v2Size > 0)
        layout.Id3v2Tag = KeptId3v2Tag(ReadBytes(input, 0, static_cast<size_t>(Info.ID3v2Size)),
                                       EditedFields(Tag, Options));
    if (HasTagMarker(Tag)) {
        const auto bytes = EncodeID3v1Tag(Tag);
        layout.Id3v1Tag.assign(bytes.begin(), bytes.end());
    }
    return layout;
}

TId3v2Edits TRoruvoMP3::EditedFields(const TID3v1Tag& Tag, const TCutOptions& Options) const
{
    TId3v2Edits edits;
    if (!HasTagMarker(Tag))
        return edits;
    // What the source's ID3v1 tag says; a source without one says nothing.
    TID3v1Tag source{};
    source.Genre = 255;
    if (Info.ID3v1Size > 0)
        source = Info.Tag;
    const auto text = [&Options](std::string_view ansi) {
        return Options.TagTextToUtf8 ? Options.TagTextToUtf8(ansi) : Latin1ToUtf8(ansi);
    };
    const auto edit = [&](std::optional<std::string>& to, std::string_view now, std::string_view before) {
        if (now != before)
            to = text(now);
    };
    edit(edits.Title, TagFieldText(Tag.Title), TagFieldText(source.Title));
    edit(edits.Artist, TagFieldText(Tag.Artist), TagFieldText(source.Artist));
    edit(edits.Album, TagFieldText(Tag.Album), TagFieldText(source.Album));
    edit(edits.Year, TagFieldText(Tag.Year), TagFieldText(source.Year));
    edit(edits.Comment, TagFieldText(Tag.Comment), TagFieldText(source.Comment));
    if (Tag.Track != source.Track)
        edits.Track = Tag.Track;
    if (Tag.Genre != source.Genre)
        edits.Genre = Tag.Genre;
    return edits;
}

} // namespace vivizu
