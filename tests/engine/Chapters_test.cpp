// A chaptered copy: the source's bytes after its leading tag unchanged, and
// a tag whose CHAP frames and CTOC TagLib reads back.
#include "Mp3Bytes.h"
#include "engine/RoruvoMp3.h"

#include <gtest/gtest.h>
#include <taglib/chapterframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tableofcontentsframe.h>

using namespace vivizu;
using namespace vivizu::test;

namespace {

TEST(Chapters, CopyKeepsTheAudioAndListsTheChapters)
{
    TempDir dir;
    const Bytes rest = Frames(H44, 50) + Id3v1Fields("T", "A", "", "", "", 0, 1);
    for (const bool tagged : {false, true}) {
        SCOPED_TRACE(tagged);
        const Bytes source = tagged ? Id3v2(200) + rest : rest;
        TRoruvoMP3 mp3;
        mp3.LoadFile(dir.Write("in.mp3", source));
        ASSERT_TRUE(mp3.Valid);
        const std::string out = dir / "out.mp3";
        const std::vector<TChapter> chapters{{0, 500, "Intro"}, {500, 1306, ""}};
        const TCutResult result = mp3.WriteChapters(chapters, out);
        ASSERT_TRUE(result.Ok()) << result.Message;

        const Bytes written = ReadAll(out);
        ASSERT_GT(written.size(), rest.size());
        EXPECT_EQ(Slice(written, written.size() - rest.size(), rest.size()), rest);

        TagLib::MPEG::File file(out.c_str());
        TagLib::ID3v2::Tag* tag = file.ID3v2Tag(false);
        ASSERT_NE(tag, nullptr);
        const TagLib::ID3v2::FrameList chaps = tag->frameList("CHAP");
        ASSERT_EQ(chaps.size(), 2u);
        const auto* first = dynamic_cast<TagLib::ID3v2::ChapterFrame*>(chaps.front());
        const auto* second = dynamic_cast<TagLib::ID3v2::ChapterFrame*>(chaps.back());
        ASSERT_TRUE(first && second);
        EXPECT_EQ(first->startTime(), 0u);
        EXPECT_EQ(first->endTime(), 500u);
        EXPECT_EQ(second->startTime(), 500u);
        EXPECT_EQ(first->embeddedFrameList("TIT2").front()->toString(), "Intro");
        EXPECT_TRUE(second->embeddedFrameList("TIT2").isEmpty());
        const TagLib::ID3v2::FrameList tocs = tag->frameList("CTOC");
        ASSERT_EQ(tocs.size(), 1u);
        const auto* toc = dynamic_cast<TagLib::ID3v2::TableOfContentsFrame*>(tocs.front());
        ASSERT_TRUE(toc);
        EXPECT_TRUE(toc->isTopLevel());
        EXPECT_EQ(toc->entryCount(), 2u);
    }
}

TEST(Chapters, TheInputIsNeverTheOutput)
{
    TempDir dir;
    TRoruvoMP3 mp3;
    const std::string in = dir.Write("in.mp3", Frames(H44, 10));
    mp3.LoadFile(in);
    EXPECT_EQ(mp3.WriteChapters({{0, 100, ""}}, in).Status, TCutStatus::OutputIsInput);
    EXPECT_EQ(ReadAll(in), Frames(H44, 10));
}

} // namespace
