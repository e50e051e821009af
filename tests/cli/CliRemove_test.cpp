// cut --remove and --remove-edl: stretches left out of a cut, joined at
// frame boundaries; a frame after a join that borrowed bytes from removed
// frames still decodes cleanly (ffmpeg and libmpg123 say nothing), and the
// edit lists that commercial detectors write are read.
#include "CliRunner.h"
#include "request/EditList.h"

#include <gtest/gtest.h>
#include <taglib/chapterframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tableofcontentsframe.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace clitest;
using namespace vivizu;
using namespace vivizu::test;

namespace {

struct TChapterSeen {
    unsigned Start = 0, End = 0;
    std::string Title;
    bool operator==(const TChapterSeen&) const = default;
};

// The CHAP frames of file's ID3v2 tag, in order; empty when the table of
// contents does not list them all.
std::vector<TChapterSeen> ChaptersOf(const std::string& file)
{
    TagLib::MPEG::File mp3(file.c_str());
    TagLib::ID3v2::Tag* tag = mp3.ID3v2Tag(false);
    if (!tag)
        return {};
    std::vector<TChapterSeen> seen;
    for (TagLib::ID3v2::Frame* frame : tag->frameList("CHAP")) {
        const auto* chapter = dynamic_cast<TagLib::ID3v2::ChapterFrame*>(frame);
        const TagLib::ID3v2::FrameList titles = chapter->embeddedFrameList("TIT2");
        seen.push_back({chapter->startTime(), chapter->endTime(),
                        titles.isEmpty() ? std::string() : titles.front()->toString().to8Bit(true)});
    }
    const TagLib::ID3v2::FrameList tocs = tag->frameList("CTOC");
    if (tocs.size() != 1 ||
        dynamic_cast<TagLib::ID3v2::TableOfContentsFrame*>(tocs.front())->entryCount() != seen.size())
        return {};
    return seen;
}

// count frames of 417 bytes that borrow nothing (main_data_begin 0).
Bytes Plain(int count)
{
    Bytes all;
    for (int i = 0; i < count; ++i)
        all = all + Frame(H44, 0);
    return all;
}

// Frames that borrow nothing are joined as they are: the output is exactly
// the kept frames, each removed stretch's ends rounded to the nearest frame
// start. A frame that borrows gets a silent frame before it that carries
// the bytes it borrows.
TEST(CliRemove, KeptFramesAreJoinedAtTheNearestFrameBoundaries)
{
    TempDir dir;
    const Bytes audio = Plain(100); // 417 bytes, 26.12 ms a frame
    const std::string in = dir.Write("in.mp3", audio);
    // 1000 ms lies nearest frame 38 (992.7 ms), 2000 ms nearest frame 77
    // (2011.4 ms); a second stretch of frames 90-95 overlaps nothing else.
    const TRun run = RunCli({"cut", "--no-tag", "--remove", "1.0-2.0", "--remove", "2351-2482", in, dir / "out.mp3",
                             "0", "2612"});
    ASSERT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(ReadAll(dir / "out.mp3"), Slice(audio, 0, 38 * 417) + Slice(audio, 77 * 417, 13 * 417) +
                                            Slice(audio, 95 * 417, 5 * 417));
    // Overlapping and unordered stretches merge; one past the range's end
    // changes nothing; a length header counts the frames written.
    ASSERT_EQ(RunCli({"cut", "--no-tag", "--remove", "1.5-2.0", "--remove", "1.0-1.6", "--remove", "9.0-10.0", in,
                      dir / "merged.mp3", "0", "2612"})
                  .Exit,
              0);
    EXPECT_EQ(ReadAll(dir / "merged.mp3"), Slice(audio, 0, 38 * 417) + Slice(audio, 77 * 417, 23 * 417));
    // Everything removed: nothing to cut.
    const TRun all = RunCli({"cut", "--remove", "0-3.0", in, dir / "none.mp3", "0", "2612"});
    EXPECT_EQ(all.Exit, 1) << all.Err;
    EXPECT_FALSE(Exists(dir / "none.mp3"));
    // With --exact too (CliRemove.ExactEndsAroundFrameJoins), and stretches must be stretches.
    EXPECT_EQ(RunCli({"cut", "--exact", "--remove", "1.0-2.0", in, dir / "x.mp3", "0", "2612"}).Exit, 0);
    for (const char* bad : {"2.0-1.0", "1.0", "a-b", "1-2-3"})
        EXPECT_EQ(RunCli({"cut", "--remove", bad, in, dir / "x.mp3", "0", "2612"}).Exit, 2) << bad;

    // Frame 77 of these borrows 154 bytes (its side information begins
    // with 0x4D 0x4D): they come from the data areas of frames 76 and 75.
    const Bytes borrowing = Frames(H44, 100, 0);
    const std::string source = dir.Write("borrowing.mp3", borrowing);
    ASSERT_EQ(RunCli({"cut", "--no-tag", "--remove", "1.0-2.0", source, dir / "carried.mp3", "0", "2612"}).Exit, 0);
    const Bytes carried = ReadAll(dir / "carried.mp3");
    ASSERT_GT(carried.size(), 61u * 417);
    EXPECT_EQ(Slice(carried, 0, 38 * 417), Slice(borrowing, 0, 38 * 417));
    EXPECT_EQ(Slice(carried, carried.size() - 23 * 417, 23 * 417), Slice(borrowing, 77 * 417, 23 * 417));
    const Bytes silent = Slice(carried, 38 * 417, carried.size() - 61 * 417);
    ASSERT_GE(silent.size(), 154u + 36);
    EXPECT_EQ(Slice(silent, silent.size() - 154, 154), Bytes(154, 76));
}

// A real encoder's stream borrows across every frame boundary: cut apart
// and joined naively, decoders complain; with the removed stretches
// carried, neither ffmpeg nor libmpg123 says a word, and the length is the
// source's less what was removed.
TEST(CliRemove, JoinsDecodeCleanlyWithBothDecoders)
{
    if (!HaveTool("sox") || !HaveTool("lame") || !HaveTool("ffmpeg") || !HaveTool("mpg123"))
        GTEST_SKIP() << "needs sox, lame, ffmpeg and mpg123";
    TempDir dir;
    const std::string vbr = dir / "vbr.mp3", cbr = dir / "cbr.mp3";
    ASSERT_TRUE(EncodeSweep(dir.Path(), "20 sine 300-1200", 128));
    for (const std::string& source : {vbr, cbr}) {
        SCOPED_TRACE(source);
        const std::string naive = dir / "naive.mp3";
        ASSERT_EQ(RunCli({"cut", "--no-tag", source, dir / "a.mp3", "0", "3.0"}).Exit, 0);
        ASSERT_EQ(RunCli({"cut", "--no-tag", source, dir / "b.mp3", "5.5", "20.0"}).Exit, 0);
        ASSERT_EQ(std::system(("cat '" + dir / "a.mp3" + "' '" + dir / "b.mp3" + "' > '" + naive + "'").c_str()), 0);
        EXPECT_NE(DecoderComplaints(naive), "") << "the naive join should show what is mended";

        for (const char* header : {"--no-tag", "--length-header"}) {
            const std::string out = dir / "out.mp3";
            const TRun run = RunCli({"cut", "--no-tag", header, "--remove", "3.0-5.5", "--remove", "8.2-12.0", source,
                                     out, "0", "20.0"});
            ASSERT_EQ(run.Exit, 0) << run.Err;
            EXPECT_EQ(DecoderComplaints(out), "") << header;
            // Decoded, not estimated: 16-bit stereo at 44.1 kHz.
            const double seconds = DecodedSeconds(out);
            // 20 s less 6.3 s, give or take the rounding to frames and one
            // silent carrying frame per join.
            EXPECT_NEAR(seconds, 13.7, 0.15) << header;
        }
    }
    // Each join faded out and in: still clean, and quiet at the join.
    const std::string faded = dir / "faded.mp3";
    ASSERT_EQ(RunCli({"cut", "--no-tag", "--join-fade", "0.1", "--remove", "3.0-5.5", cbr, faded, "0", "10.0"}).Exit, 0);
    EXPECT_EQ(DecoderComplaints(faded), "");
    const auto peakAround = [&](const std::string& file, double at) {
        const std::string trim = "atrim=start=" + std::to_string(at - 0.005) + ":end=" + std::to_string(at + 0.005);
        return std::atof(ShellOutput("ffmpeg -nostdin -v info -i '" + file + "' -af " + trim +
                                ",astats -f null - 2>&1 | grep -m1 'Peak level dB' | sed 's/.*: //'")
                             .c_str());
    };
    ASSERT_EQ(RunCli({"cut", "--no-tag", "--remove", "3.0-5.5", cbr, dir / "hard.mp3", "0", "10.0"}).Exit, 0);
    // The join lies within 13 ms of 3 s; decoders add the coder's delay
    // (25 ms), and the carrying frame keeps 26 ms of silence after it.
    EXPECT_LT(peakAround(faded, 3.038), peakAround(dir / "hard.mp3", 3.038) - 20);
    EXPECT_EQ(RunCli({"cut", "--join-fade", "0.1", cbr, dir / "x.mp3", "0", "10.0"}).Exit, 2); // no join to fade
}

// --exact with stretches removed: the outer ends sample-exact, the joins on
// frame boundaries. Both decoders play it without a word, and as many
// samples as the exact ends hold less the removed frames, plus one silent
// frame for each join whose frame borrowed bytes.
TEST(CliRemove, ExactEndsAroundFrameJoins)
{
    if (!HaveTool("sox") || !HaveTool("lame") || !HaveTool("ffmpeg") || !HaveTool("mpg123"))
        GTEST_SKIP() << "needs sox, lame, ffmpeg and mpg123";
    TempDir dir;
    const std::string vbr = dir / "vbr.mp3", cbr = dir / "cbr.mp3";
    ASSERT_TRUE(EncodeSweep(dir.Path(), "20 sine 300-1200", 128));
    const auto samples = [](const std::string& file) {
        const long ffmpeg = std::atol(ShellOutput("ffmpeg -nostdin -v error -i '" + file + "' -f s16le - | wc -c").c_str());
        const long mpg123 = std::atol(ShellOutput("mpg123 -q -s '" + file + "' | wc -c").c_str());
        EXPECT_EQ(ffmpeg, mpg123) << "the decoders disagree on the length";
        return ffmpeg / 4;
    };
    // A time of the gapless timeline rounded to the nearest frame start:
    // frames start every 1152 samples of the raw decode, which runs ahead of
    // the gapless one by LAME's delay (576) and the decoder's (529).
    const auto boundary = [](double seconds) { return std::lround((seconds * 44100 + 1105) / 1152); };
    for (const std::string& source : {cbr, vbr}) {
        SCOPED_TRACE(source);
        const std::string out = dir / "out.mp3";
        const TRun run = RunCli({"cut", "--no-tag", "--exact", "--remove", "3.0-5.6", "--remove", "8.2-12.0", source,
                                 out, "1.0", "15.0"});
        ASSERT_EQ(run.Exit, 0) << run.Err;
        EXPECT_EQ(DecoderComplaints(out), "");
        const long removed = (boundary(5.6) - boundary(3.0)) + (boundary(12.0) - boundary(8.2));
        const long expected = 14 * 44100 - removed * 1152;
        const long got = samples(out);
        EXPECT_EQ((got - expected) % 1152, 0) << got << " against " << expected;
        EXPECT_GE(got, expected);
        EXPECT_LE(got, expected + 2 * 1152);
        // Chapters count what gapless players play: the first join lies
        // where the first kept stretch's last frame ends, 116 frames into
        // the raw decode, less the delays and the second before START.
        ASSERT_EQ(RunCli({"cut", "--no-tag", "--exact", "--chapters", "--remove", "3.0-5.6", "--remove", "8.2-12.0",
                          source, out, "1.0", "15.0"})
                      .Exit,
                  0);
        EXPECT_EQ(DecoderComplaints(out), "");
        const std::vector<TChapterSeen> chapters = ChaptersOf(out);
        ASSERT_EQ(chapters.size(), 3u);
        EXPECT_EQ(chapters[0].Start, 0u);
        EXPECT_EQ(chapters[0].Title, "000:00:01.000");
        EXPECT_EQ(chapters[1].Start, (boundary(3.0) * 1152 - 1105 - 44100) * 1000 / 44100);
        EXPECT_EQ(chapters[2].End, got * 1000 / 44100);

        // An end inside a removed stretch moves to the stretch's far side,
        // exactly: 2.0 to 9.0 with no join at all.
        ASSERT_EQ(RunCli({"cut", "--no-tag", "--exact", "--remove", "0-2.0", "--remove", "9.0-11.0", source, out, "0",
                          "10.0"})
                      .Exit,
                  0);
        EXPECT_EQ(DecoderComplaints(out), "");
        EXPECT_EQ(samples(out), 7 * 44100);
        // A stretch that covers the whole range leaves nothing to cut.
        EXPECT_EQ(RunCli({"cut", "--exact", "--remove", "0.5-12.0", source, dir / "none.mp3", "1.0", "11.0"}).Exit, 1);
    }
}

// --chapters marks where each kept stretch begins in the output's time,
// titled by where it begins in the source; a stretch led by a carrying
// frame begins with it, as a join's chapter does.
TEST(CliRemove, ChaptersMarkWhereEachKeptStretchBegins)
{
    TempDir dir;
    const Bytes audio = Plain(100); // 26.12 ms a frame
    const std::string in = dir.Write("in.mp3", audio);
    const std::string out = dir / "out.mp3";
    // Kept: frames 0-37, 77-89 and 95-99 (as in the test above).
    ASSERT_EQ(RunCli({"cut", "--no-tag", "--chapters", "--remove", "1.0-2.0", "--remove", "2351-2482", in, out, "0",
                      "2612"})
                  .Exit,
              0);
    EXPECT_EQ(ChaptersOf(out), (std::vector<TChapterSeen>{{0, 992, "000:00:00.000"},
                                                          {992, 1332, "000:00:02.011"},
                                                          {1332, 1462, "000:00:02.481"}}));
    // The audio after the tag is what the cut without chapters writes.
    const Bytes written = ReadAll(out);
    const Bytes frames = Slice(audio, 0, 38 * 417) + Slice(audio, 77 * 417, 13 * 417) + Slice(audio, 95 * 417, 5 * 417);
    ASSERT_GT(written.size(), frames.size());
    EXPECT_EQ(Slice(written, written.size() - frames.size(), frames.size()), frames);

    // Frame 77 borrows: the silent frame before it opens its chapter, which
    // ends 23 frames after it.
    const std::string borrowing = dir.Write("borrowing.mp3", Frames(H44, 100, 0));
    ASSERT_EQ(RunCli({"cut", "--no-tag", "--chapters", "--remove", "1.0-2.0", borrowing, out, "0", "2612"}).Exit, 0);
    EXPECT_EQ(ChaptersOf(out), (std::vector<TChapterSeen>{{0, 992, "000:00:00.000"}, {992, 1619, "000:00:02.011"}}));

    // Chapters mark kept stretches: without a removed one there are none.
    EXPECT_EQ(RunCli({"cut", "--chapters", in, dir / "x.mp3", "0", "2612"}).Exit, 2);
}

// Edit lists as comskip and hand editors write them.
TEST(CliRemove, EditListsAreReadAsDetectorsWriteThem)
{
    const TEditList comskip = ParseEditList("0.00\t31.20\t0\n612.35\t790.12\t0\n1500.5 1620.0 3\r\n"
                                            "\n# a note\n1700 1710 1\n1800 1801 2\n");
    ASSERT_EQ(comskip.Error, "");
    ASSERT_EQ(comskip.Removed.size(), 3u); // mute (1) and scene markers (2) remove nothing
    EXPECT_EQ(comskip.Removed[0].ToMs, 31200);
    EXPECT_EQ(comskip.Removed[1].FromMs, 612350);
    EXPECT_EQ(comskip.Removed[2].ToMs, 1620000);
    EXPECT_EQ(ParseEditList("1 2 0\n5 4 0\n").Error, "line 2: the end is not after the start");
    EXPECT_EQ(ParseEditList("1 2\n").Error, "line 1: expects START END ACTION (seconds, seconds, 0 to 3)");
    EXPECT_EQ(ParseEditList("1 2 0 9\n").Error, "line 1: expects START END ACTION (seconds, seconds, 0 to 3)");
    EXPECT_EQ(ParseEditList("-1 2 0\n").Error, "line 1: expects START END ACTION (seconds, seconds, 0 to 3)");
    EXPECT_EQ(ParseEditList(EditListText(comskip.Removed)).Removed.size(), 3u);
    EXPECT_EQ(EditListText({{1500, 62005}}), "1.500\t62.005\t0\n");

    TempDir dir;
    const Bytes audio = Plain(100);
    const std::string in = dir.Write("in.mp3", audio);
    dir.Write("ads.edl", TextBytes("1.0 2.0 0\n"));
    ASSERT_EQ(RunCli({"cut", "--no-tag", "--remove-edl", dir / "ads.edl", in, dir / "out.mp3", "0", "2612"}).Exit, 0);
    EXPECT_EQ(ReadAll(dir / "out.mp3"), Slice(audio, 0, 38 * 417) + Slice(audio, 77 * 417, 23 * 417));
    dir.Write("bad.edl", TextBytes("1.0 2.0 0\nnonsense\n"));
    const TRun bad = RunCli({"cut", "--remove-edl", dir / "bad.edl", in, dir / "x.mp3", "0", "2612"});
    EXPECT_EQ(bad.Exit, 2);
    EXPECT_NE(bad.Err.find("bad.edl: line 2"), std::string::npos) << bad.Err;

    // A bare number is milliseconds, which the refusal of "0.5-1" says.
    const TRun bare = RunCli({"cut", "--remove", "0.5-1", in, dir / "y.mp3", "1000", "2000"});
    EXPECT_EQ(bare.Exit, 2);
    EXPECT_NE(bare.Err.find("a bare number is milliseconds"), std::string::npos) << bare.Err;

    // A list that removes all of START..END leaves nothing, and says why.
    dir.Write("all.edl", TextBytes("0.5 3.0 0\n"));
    const TRun all = RunCli({"cut", "--remove-edl", dir / "all.edl", in, dir / "y.mp3", "1000", "2000"});
    EXPECT_EQ(all.Exit, 1);
    EXPECT_NE(all.Err.find("the removed stretches cover START to END"), std::string::npos) << all.Err;
    EXPECT_FALSE(std::filesystem::exists(dir / "y.mp3"));
}

} // namespace
