#include "engine/tags/Id3v2Chapters.h"

#include <taglib/chapterframe.h>
#include <taglib/id3v2header.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tableofcontentsframe.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/textidentificationframe.h>

#include <memory>

namespace vivizu {

std::vector<uint8_t> ChapteredId3v2Tag(std::span<const uint8_t> tagBytes, const std::vector<TChapter>& chapters)
{
    // The source's tag when TagLib reads one, else a new one.
    TagLib::ByteVector data(reinterpret_cast<const char*>(tagBytes.data()), static_cast<unsigned>(tagBytes.size()));
    TagLib::ByteVectorStream stream(data);
    std::unique_ptr<TagLib::MPEG::File> file;
    TagLib::ID3v2::Tag fresh;
    TagLib::ID3v2::Tag* tag = &fresh;
    if (!tagBytes.empty()) {
        file = std::make_unique<TagLib::MPEG::File>(&stream, TagLib::ID3v2::FrameFactory::instance(), false);
        if (TagLib::ID3v2::Tag* source = file->ID3v2Tag(false); source != nullptr && !source->isEmpty())
            tag = source;
    }
    tag->removeFrames("CHAP");
    tag->removeFrames("CTOC");

    TagLib::ByteVectorList children;
    for (size_t i = 0; i < chapters.size(); ++i) {
        const TagLib::ByteVector id(("ch" + std::to_string(i + 1)).c_str());
        children.append(id);
        TagLib::ID3v2::FrameList embedded;
        if (!chapters[i].Title.empty()) {
            auto* title = new TagLib::ID3v2::TextIdentificationFrame("TIT2", TagLib::String::UTF8);
            title->setText(TagLib::String(chapters[i].Title, TagLib::String::UTF8));
            embedded.append(title);
        }
        // Byte offsets unknown (all ones): players seek by the times.
        tag->addFrame(new TagLib::ID3v2::ChapterFrame(id, chapters[i].StartMs, chapters[i].EndMs, 0xFFFFFFFFu,
                                                      0xFFFFFFFFu, embedded));
    }
    auto* toc = new TagLib::ID3v2::TableOfContentsFrame("toc", children);
    toc->setIsTopLevel(true);
    toc->setIsOrdered(true);
    tag->addFrame(toc);

    const auto version = tag != &fresh && tag->header()->majorVersion() == 3 ? TagLib::ID3v2::v3 : TagLib::ID3v2::v4;
    const TagLib::ByteVector rendered = tag->render(version);
    return std::vector<uint8_t>(rendered.begin(), rendered.end());
}

} // namespace vivizu
