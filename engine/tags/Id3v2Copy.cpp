#include "engine/tags/Id3v2Copy.h"

#include "engine/tags/Id3v1Tag.h"
#include "engine/tags/Id3v2Layout.h"

#include <taglib/id3v2frame.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/textidentificationframe.h>

namespace vivizu {
namespace {

// Frames that describe the length or the byte layout of the file the tag
// came from: wrong for any cut of it.
constexpr const char* LayoutFrames[] = {"TLEN", "SEEK", "ASPI", "MLLT"};

TagLib::String Utf8(const std::string& text)
{
    return TagLib::String(text, TagLib::String::UTF8);
}

// Replaces every frame of the text frame id by one holding text; removes
// them for an empty text.
void SetTextFrame(TagLib::ID3v2::Tag& tag, const char* id, const std::string& text)
{
    tag.removeFrames(id);
    if (text.empty())
        return;
    auto* frame = new TagLib::ID3v2::TextIdentificationFrame(id, TagLib::String::UTF8);
    frame->setText(Utf8(text));
    tag.addFrame(frame);
}

void ApplyEdits(TagLib::ID3v2::Tag& tag, const TId3v2Edits& edits)
{
    if (edits.Title) SetTextFrame(tag, "TIT2", *edits.Title);
    if (edits.Artist) SetTextFrame(tag, "TPE1", *edits.Artist);
    if (edits.Album) SetTextFrame(tag, "TALB", *edits.Album);
    if (edits.Year) SetTextFrame(tag, "TDRC", *edits.Year);
    if (edits.Comment) tag.setComment(Utf8(*edits.Comment));
    if (edits.Track)
        SetTextFrame(tag, "TRCK", *edits.Track > 0 ? std::to_string(*edits.Track) : std::string());
    if (edits.Genre)
        SetTextFrame(tag, "TCON",
                     *edits.Genre >= 0 && *edits.Genre < ID3v1GenreCount ? ID3v1Genres[static_cast<size_t>(*edits.Genre)]
                                                                       : "");
}

// The tag as a cut keeps it: without the layout frames, with the edits.
std::vector<uint8_t> Rendered(TagLib::ID3v2::Tag& tag, const TId3v2Edits& edits)
{
    for (const char* id : LayoutFrames)
        tag.removeFrames(id);
    ApplyEdits(tag, edits);
    const auto version = tag.header()->majorVersion() == 3 ? TagLib::ID3v2::v3 : TagLib::ID3v2::v4;
    const TagLib::ByteVector rendered = tag.render(version);
    return std::vector<uint8_t>(rendered.begin(), rendered.end());
}

// Reads the tag of tagBytes with TagLib and hands it to use; false when
// there is none TagLib can read.
template <class Use>
bool WithTag(std::span<const uint8_t> tagBytes, const Use& use)
{
    if (tagBytes.size() < 10)
        return false;
    // Taken apart here first: TagLib loses frames of some valid tags.
    const std::vector<uint8_t> plain = PlainId3v2Tag(tagBytes);
    TagLib::ByteVector data(reinterpret_cast<const char*>(plain.data()), static_cast<unsigned int>(plain.size()));
    TagLib::ByteVectorStream stream(data);
    TagLib::MPEG::File file(&stream, TagLib::ID3v2::FrameFactory::instance(), false);
    TagLib::ID3v2::Tag* tag = file.ID3v2Tag(false);
    if (tag == nullptr || tag->header() == nullptr)
        return false;
    use(*tag);
    return true;
}

} // namespace

std::string Id3v2Title(std::span<const uint8_t> tagBytes)
{
    std::string title;
    WithTag(tagBytes, [&](TagLib::ID3v2::Tag& tag) { title = tag.title().to8Bit(true); });
    return title;
}

std::vector<uint8_t> KeptId3v2Tag(std::span<const uint8_t> tagBytes, const TId3v2Edits& edits)
{
    std::vector<uint8_t> kept;
    WithTag(tagBytes, [&](TagLib::ID3v2::Tag& tag) { kept = Rendered(tag, edits); });
    return kept;
}

} // namespace vivizu
