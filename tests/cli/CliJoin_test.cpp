// join: whole files and ranges of them one after another in one file, the
// frames byte for byte; one length header counting what was written; the
// first file's tags; a chapter per file; formats one header cannot describe
// refused with nothing written; joins that decode cleanly with ffmpeg and
// libmpg123.
#include "CliRunner.h"

#include <gtest/gtest.h>
#include <taglib/chapterframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tableofcontentsframe.h>

#include <cstdio>
#include <cstdlib>
#include <string>

using namespace clitest;
using namespace vivizu::test;

namespace {

// count frames of 417 bytes that borrow nothing, each filled with fill.
Bytes Plain(int count, uint8_t fill)
{
    Bytes all;
    for (int i = 0; i < count; ++i)
        all = all + Frame(H44, fill);
    return all;
}

// The frame count of the Xing/Info header frame that begins bytes (an H44
// frame: the tag sits after the 4-byte header and 32 bytes of side
// information); -1 when there is none.
long HeaderFrameCount(const Bytes& bytes)
{
    if (bytes.size() < 48)
        return -1;
    const std::string id(bytes.begin() + 36, bytes.begin() + 40);
    if (id != "Xing" && id != "Info")
        return -1;
    return (long{bytes[44]} << 24) | (long{bytes[45]} << 16) | (long{bytes[46]} << 8) | long{bytes[47]};
}

TEST(CliJoin, WholeFilesAndRangesAreJoinedByteForByte)
{
    TempDir dir;
    const Bytes a = Plain(20, 0), b = Frames(H44, 30, 0x40);
    const std::string fa = dir.Write("a.mp3", a + Id3v1Fields("Alpha", "", "", "", "", 0, 1));
    const std::string fb = dir.Write("b.mp3", b);
    // Whole files: nothing is borrowed across the join, even though b's
    // first frame points back (its own start); the first file's tag last.
    TRun run = RunCli({"join", "-o", dir / "ab.mp3", fa, fb});
    ASSERT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(ReadAll(dir / "ab.mp3"), a + b + Id3v1Fields("Alpha", "", "", "", "", 0, 1));
    run = RunCli({"join", "--no-tag", "-o", dir / "ba.mp3", fb, fa});
    ASSERT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(ReadAll(dir / "ba.mp3"), b + a);

    // Ranges (times as cut reads them): frames 10 to 19 of a (261.2 ms to
    // 522.4 ms), then b from frame 20, whose first frame borrows from b's
    // frames 19 and 18: a silent frame before it carries those bytes.
    run = RunCli({"join", "--no-tag", "-o", dir / "ranges.mp3", fa + ":0.261-0.523", fb + ":0:00.522-5.0"});
    ASSERT_EQ(run.Exit, 0) << run.Err;
    const Bytes joined = ReadAll(dir / "ranges.mp3");
    ASSERT_GT(joined.size(), 20u * 417);
    EXPECT_EQ(Slice(joined, 0, 10 * 417), Slice(a, 10 * 417, 10 * 417));
    EXPECT_EQ(Slice(joined, joined.size() - 10 * 417, 10 * 417), Slice(b, 20 * 417, 10 * 417));
    const Bytes carrying = Slice(joined, 10 * 417, joined.size() - 20 * 417);
    // b's frame 20 borrows 168 bytes (its side information begins 0x54
    // 0x54): the end of frame 19's data area, filled with 0x53.
    ASSERT_GE(carrying.size(), 36u + 168);
    EXPECT_EQ(Slice(carrying, 0, 2), Slice(b, 0, 2)) << "a frame of the same stream";
    EXPECT_EQ(carrying[2] & 0x0C, b[2] & 0x0C) << "at the same sample rate";
    EXPECT_EQ(Slice(carrying, carrying.size() - 168, 168), Bytes(168, 0x53));

    // A name that holds ':' but names a file is that file; a suffix that is
    // no range is part of the name.
    const std::string colon = dir.Write("c:1-2.mp3", a);
    run = RunCli({"join", "--no-tag", "-o", dir / "colon.mp3", colon, colon + ":0-0.5"});
    ASSERT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(ReadAll(dir / "colon.mp3"), a + Slice(a, 0, 20 * 417));
    EXPECT_EQ(RunCli({"join", "-o", dir / "x.mp3", fa + ":2-1", fb}).Exit, 2);
}

TEST(CliJoin, RefusalsWriteNothing)
{
    TempDir dir;
    const std::string a = dir.Write("a.mp3", Plain(20, 0));
    const std::string b48 = dir.Write("b48.mp3", Frames(H48, 20));
    const std::string mono = dir.Write("mono.mp3", Frames(H16Mono, 20));
    const std::string out = dir / "out.mp3";
    for (const std::string& other : {b48, mono}) {
        const TRun run = RunCli({"join", "-o", out, a, other});
        EXPECT_EQ(run.Exit, 1) << other;
        EXPECT_NE(run.Err.find("a single header cannot describe them, and players stop at the change"),
                  std::string::npos)
            << run.Err;
        EXPECT_NE(run.Err.find("nothing written"), std::string::npos) << run.Err;
        EXPECT_FALSE(Exists(out));
    }
    // OUT is an input, by another name too, even with --force.
    for (const std::string& same : {a, dir / "./a.mp3"}) {
        const TRun run = RunCli({"join", "--force", "-o", same, a, b48});
        EXPECT_EQ(run.Exit, 1) << same;
        EXPECT_EQ(ReadAll(a), Plain(20, 0));
    }
    // An existing OUT is replaced only with --force.
    dir.Write("taken.mp3", TextBytes("keep me"));
    const TRun taken = RunCli({"join", "-o", dir / "taken.mp3", a, a});
    EXPECT_EQ(taken.Exit, 1);
    EXPECT_NE(taken.Err.find("--force"), std::string::npos) << taken.Err;
    EXPECT_EQ(ReadAll(dir / "taken.mp3"), TextBytes("keep me"));
    ASSERT_EQ(RunCli({"join", "--no-tag", "--force", "-o", dir / "taken.mp3", a, a}).Exit, 0);
    EXPECT_EQ(ReadAll(dir / "taken.mp3"), Plain(20, 0) + Plain(20, 0));
    // A write that fails (past a file size limit) keeps the earlier file
    // and leaves no temporary one.
    const TRun failed = RunCli({"join", "--force", "-o", dir / "taken.mp3", a, a, a}, {}, 4096);
    EXPECT_EQ(failed.Exit, 3) << failed.Err;
    EXPECT_EQ(ReadAll(dir / "taken.mp3"), Plain(20, 0) + Plain(20, 0));
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"a.mp3", "b48.mp3", "mono.mp3", "taken.mp3"}));
    // One file, no -o: usage errors.
    EXPECT_EQ(RunCli({"join", "-o", out, a}).Exit, 2);
    EXPECT_EQ(RunCli({"join", a, a}).Exit, 2);
    EXPECT_FALSE(Exists(out));
}

// The length header counts every frame written, the carrying frame
// included; chapters give one CHAP per input, titled from its tag or its
// name, and a CTOC.
TEST(CliJoin, HeaderCountsTheFramesAndChaptersNameTheInputs)
{
    TempDir dir;
    const Bytes a = Plain(20, 0), b = Frames(H44, 30, 0x40);
    const std::string fa = dir.Write("a.mp3", a + Id3v1Fields("Alpha", "", "", "", "", 0, 1));
    const std::string fb = dir.Write("b.mp3", b);
    ASSERT_EQ(RunCli({"join", "--no-tag", "--length-header", "-o", dir / "h.mp3", fa, fb}).Exit, 0);
    const Bytes whole = ReadAll(dir / "h.mp3");
    ASSERT_EQ(whole.size(), 417u + a.size() + b.size());
    EXPECT_EQ(HeaderFrameCount(whole), 50);
    EXPECT_EQ(Slice(whole, 417, whole.size() - 417), a + b);

    ASSERT_EQ(RunCli({"join", "--no-tag", "--length-header", "-o", dir / "hr.mp3", fa, fb + ":0.522-5.0"}).Exit, 0);
    const Bytes ranged = ReadAll(dir / "hr.mp3");
    // 20 + the carrying frame + 10; the carrying frame is no longer than
    // an audio frame here.
    EXPECT_EQ(HeaderFrameCount(ranged), 31);
    EXPECT_EQ(Slice(ranged, ranged.size() - 10 * 417, 10 * 417), Slice(b, 20 * 417, 10 * 417));

    ASSERT_EQ(RunCli({"join", "--chapters", "-o", dir / "ch.mp3", fa, fb, fa + ":0-0.261"}).Exit, 0);
    TagLib::MPEG::File file((dir / "ch.mp3").c_str());
    TagLib::ID3v2::Tag* tag = file.ID3v2Tag(false);
    ASSERT_NE(tag, nullptr);
    const TagLib::ID3v2::FrameList chaps = tag->frameList("CHAP");
    ASSERT_EQ(chaps.size(), 3u);
    std::vector<std::string> titles;
    std::vector<unsigned> starts;
    for (TagLib::ID3v2::Frame* frame : chaps) {
        const auto* chapter = dynamic_cast<TagLib::ID3v2::ChapterFrame*>(frame);
        ASSERT_TRUE(chapter);
        titles.push_back(chapter->embeddedFrameList("TIT2").front()->toString().to8Bit(true));
        starts.push_back(chapter->startTime());
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"Alpha", "b", "Alpha"}));
    EXPECT_EQ(starts, (std::vector<unsigned>{0, 522, 1306})); // 20 and 30 frames of 26.12 ms
    const TagLib::ID3v2::FrameList tocs = tag->frameList("CTOC");
    ASSERT_EQ(tocs.size(), 1u);
    EXPECT_EQ(dynamic_cast<TagLib::ID3v2::TableOfContentsFrame*>(tocs.front())->entryCount(), 3u);
    // The audio follows the tag unchanged, then the first file's ID3v1 tag.
    const Bytes chaptered = ReadAll(dir / "ch.mp3");
    const Bytes tail = a + b + Slice(a, 0, 10 * 417) + Id3v1Fields("Alpha", "", "", "", "", 0, 1);
    ASSERT_GT(chaptered.size(), tail.size());
    EXPECT_EQ(Slice(chaptered, chaptered.size() - tail.size(), tail.size()), tail);
}

// Real encoder output, joined whole and from within: neither ffmpeg nor
// libmpg123 says a word, the length is the sum of the parts, and the
// header's frame count is what was written.
TEST(CliJoin, RealJoinsDecodeCleanlyWithBothDecoders)
{
    if (!HaveTool("sox") || !HaveTool("lame") || !HaveTool("ffmpeg") || !HaveTool("mpg123"))
        GTEST_SKIP() << "needs sox, lame, ffmpeg and mpg123";
    TempDir dir;
    const std::string wav1 = dir / "1.wav", wav2 = dir / "2.wav", a = dir / "a.mp3", b = dir / "b.mp3",
                      titled = dir / "titled.mp3";
    ASSERT_EQ(std::system(("sox -q -R -n -r 44100 -c 2 -b 16 '" + wav1 + "' synth 6 sine 300-1200 vol 0.4 && " +
                           "sox -R -q -n -r 44100 -c 2 -b 16 '" + wav2 + "' synth 8 pinknoise vol 0.3 && " +
                           "lame --quiet -V 2 '" + wav1 + "' '" + a + "' && lame --quiet -V 2 '" + wav2 + "' '" + b +
                           "' && lame --quiet -V 2 --id3v2-only --tt 'First part' '" + wav1 + "' '" + titled + "'")
                              .c_str()),
              0);
    const auto frames = [](const std::string& file) {
        return std::atoi(ShellOutput("ffprobe -v error -count_packets -select_streams a:0 -show_entries "
                                "stream=nb_read_packets -of csv=p=0 '" + file + "'")
                             .c_str());
    };
    const std::string whole = dir / "whole.mp3", ranges = dir / "ranges.mp3";
    ASSERT_EQ(RunCli({"join", "--length-header", "-o", whole, a, b}).Exit, 0);
    EXPECT_EQ(DecoderComplaints(whole), "");
    // Gapless: the first file's delay and the last one's padding trimmed,
    // the joins' own priming and padding kept: 14 s and about 50 ms.
    EXPECT_NEAR(DecodedSeconds(whole), 14.05, 0.1);
    EXPECT_EQ(HeaderFrameCount(ReadAll(whole)), frames(whole));

    // The first file's ID3v2 tag goes first with --keep-id3v2; a chapter
    // takes its file's ID3v2 title.
    const std::string kept = dir / "kept.mp3";
    ASSERT_EQ(RunCli({"join", "--keep-id3v2", "--chapters", "-o", kept, titled, b}).Exit, 0);
    TagLib::MPEG::File keptFile(kept.c_str());
    TagLib::ID3v2::Tag* keptTag = keptFile.ID3v2Tag(false);
    ASSERT_NE(keptTag, nullptr);
    EXPECT_EQ(keptTag->title().to8Bit(true), "First part");
    const TagLib::ID3v2::FrameList chaps = keptTag->frameList("CHAP");
    ASSERT_EQ(chaps.size(), 2u);
    const auto* first = dynamic_cast<TagLib::ID3v2::ChapterFrame*>(chaps.front());
    ASSERT_TRUE(first);
    EXPECT_EQ(first->embeddedFrameList("TIT2").front()->toString().to8Bit(true), "First part");
    EXPECT_EQ(DecoderComplaints(kept), "");

    ASSERT_EQ(RunCli({"join", "--length-header", "-o", ranges, a + ":1.5-4.0", b + ":2.0-6.5", a + ":3.0-6.0"}).Exit, 0);
    EXPECT_EQ(DecoderComplaints(ranges), "");
    // 2.5 + 4.5 + 3 s, give or take the rounding to frames and a carrying
    // frame at each join.
    EXPECT_NEAR(DecodedSeconds(ranges), 10.0, 0.2);
    EXPECT_EQ(HeaderFrameCount(ReadAll(ranges)), frames(ranges));
}

// Layer II files join as they are; a header, which only Layer III can
// carry, is refused, and so is a Layer III file among them.
TEST(CliJoin, LayerTwoFilesJoinWithoutAHeader)
{
    if (!HaveTool("ffmpeg") || !HaveTool("mpg123") || !HaveTool("sox") || !HaveTool("lame"))
        GTEST_SKIP() << "needs ffmpeg, mpg123, sox and lame";
    TempDir dir;
    const std::string p = dir / "p.mp2", q = dir / "q.mp2", l3 = dir / "l3.mp3", wav = dir / "s.wav";
    ASSERT_EQ(std::system(("ffmpeg -nostdin -v error -f lavfi -i sine=f=440:d=2 -ac 2 -c:a mp2 -b:a 192k -f mp2 '" + p +
                           "' && ffmpeg -nostdin -v error -f lavfi -i sine=f=660:d=3 -ac 2 -c:a mp2 -b:a 192k -f mp2 '" +
                           q + "' && sox -q -R -n -r 44100 -c 2 -b 16 '" + wav + "' synth 1 sine 500 && lame --quiet '" +
                           wav + "' '" + l3 + "'")
                              .c_str()),
              0);
    ASSERT_EQ(RunCli({"join", "-o", dir / "whole.mp3", p, q}).Exit, 0);
    EXPECT_EQ(ReadAll(dir / "whole.mp3"), ReadAll(p) + ReadAll(q));
    ASSERT_EQ(RunCli({"join", "-o", dir / "ranges.mp3", p + ":0.5-1.5", q + ":1.0-2.0"}).Exit, 0);
    EXPECT_EQ(DecoderComplaints(dir / "ranges.mp3"), "");
    EXPECT_NEAR(DecodedSeconds(dir / "ranges.mp3"), 2.0, 0.1);
    EXPECT_EQ(RunCli({"join", "--length-header", "-o", dir / "h.mp3", p, q}).Exit, 1);
    const TRun mixed = RunCli({"join", "-o", dir / "m.mp3", p, l3});
    EXPECT_EQ(mixed.Exit, 1);
    EXPECT_NE(mixed.Err.find("Layer 3, 44100 Hz, stereo does not match MPEG-1 Layer 2"), std::string::npos) << mixed.Err;
    EXPECT_FALSE(Exists(dir / "h.mp3"));
    EXPECT_FALSE(Exists(dir / "m.mp3"));
}

} // namespace
