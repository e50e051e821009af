// vivizu-cli split on byte-built files: pieces that cover the stream, their
// names, the plan, cue sheets and the refusals that come before any write.
#include "CliRunner.h"
#include "cli/cue/CueSheet.h"
#include "request/PieceNames.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

using namespace clitest;
using namespace vivizu;
using namespace vivizu::test;

namespace {

const Bytes SourceTag = Id3v1Fields("Song", "Band", "Record", "1999", "Note", 5, 13);

class CliSplit : public ::testing::Test {
protected:
    TempDir Dir;
    // 100 frames of 26.12 ms (2612 ms) and an ID3v1 tag.
    const Bytes Audio = Frames(H44, 100, 0);
    const std::string In = Dir.Write("in.mp3", Audio + SourceTag);

    TRun Split(std::vector<std::string> args, int exitCode = 0)
    {
        args.insert(args.begin(), "split");
        const TRun r = RunCli(args);
        EXPECT_EQ(r.Exit, exitCode) << r.Err;
        return r;
    }
    // The audio of the pieces named, in order, without their ID3v1 tags.
    Bytes JoinedAudio(const std::vector<std::string>& names, size_t tagBytes = 128) const
    {
        Bytes all;
        for (const std::string& name : names) {
            const Bytes piece = ReadAll(Dir / name);
            all = all + Slice(piece, 0, piece.size() - tagBytes);
        }
        return all;
    }
};

TEST_F(CliSplit, EachModeCoversTheStreamOnFrameStarts)
{
    const std::string d = Dir.Path();
    // 1 s and 2 s fall inside frames 38 and 76: those frames begin pieces 2, 3.
    Split({"--at", "1.0,2.0", "-d", d, In});
    EXPECT_EQ(Dir.Names(), (std::vector<std::string>{"in 1.mp3", "in 2.mp3", "in 3.mp3", "in.mp3"}));
    EXPECT_EQ(ReadAll(Dir / "in 1.mp3"), Slice(Audio, 0, 39 * 417) + Id3v1Fields("Song", "Band", "Record", "1999", "Note", 1, 13));
    EXPECT_EQ(JoinedAudio({"in 1.mp3", "in 2.mp3", "in 3.mp3"}), Audio);
    // Every 500 ms: six pieces, the last one shorter.
    Split({"--every", "0.5", "-o", "e{n}.mp3", "-d", d, "--no-tag", In});
    EXPECT_EQ(JoinedAudio({"e1.mp3", "e2.mp3", "e3.mp3", "e4.mp3", "e5.mp3", "e6.mp3"}, 0), Audio);
    EXPECT_EQ(ReadAll(Dir / "e6.mp3").size(), 4u * 417); // frames 96-99: 96 is the first at or after 2.5 s
    // Eleven equal parts: {n} gets two digits.
    Split({"--parts", "11", "-o", "p{n}.mp3", "-d", d, "--no-tag", In});
    std::vector<std::string> parts;
    for (int i = 1; i <= 11; ++i)
        parts.push_back((i < 10 ? "p0" : "p") + std::to_string(i) + ".mp3");
    EXPECT_EQ(JoinedAudio(parts, 0), Audio);
}

TEST_F(CliSplit, TrackNumbersCountFromTrackStart)
{
    Split({"--parts", "3", "--track-start", "7", "-d", Dir.Path(), In});
    for (int i = 0; i < 3; ++i) {
        const Bytes piece = ReadAll(Dir / ("in " + std::to_string(i + 1) + ".mp3"));
        EXPECT_EQ(piece[piece.size() - 2], 7 + i);
    }
}

TEST_F(CliSplit, DryRunPrintsThePlanAndWritesNothing)
{
    const TRun table = Split({"--at", "1.0", "--dry-run", "-d", Dir.Path(), In});
    EXPECT_NE(table.Out.find("000:00:01.018"), std::string::npos) << table.Out; // frame 39's start
    EXPECT_NE(table.Out.find("in 2.mp3"), std::string::npos);
    const TRun json = Split({"--at", "1.0", "--dry-run", "--json", "-d", Dir.Path(), In});
    EXPECT_NE(json.Out.find("\"start_ms\": 1018.776"), std::string::npos) << json.Out;
    EXPECT_NE(json.Out.find("\"piece\": 2"), std::string::npos);
    EXPECT_EQ(Dir.Names(), std::vector<std::string>{"in.mp3"});
}

TEST_F(CliSplit, RefusalsComeBeforeAnyPieceIsWritten)
{
    const std::string d = Dir.Path();
    // Two pieces of one name; the input's own name; an existing file.
    EXPECT_NE(Split({"--parts", "2", "-o", "same.mp3", "-d", d, In}, 1).Err.find("two pieces"), std::string::npos);
    EXPECT_NE(Split({"--parts", "1", "-o", "in.mp3", "-d", d, In}, 1).Err.find("in.mp3"), std::string::npos);
    Dir.Write("old 2.mp3", TextBytes("older"));
    EXPECT_NE(Split({"--parts", "2", "-o", "old {n}.mp3", "-d", d, In}, 1).Err.find("exists already"),
              std::string::npos);
    EXPECT_EQ(Dir.Names(), (std::vector<std::string>{"in.mp3", "old 2.mp3"}));
    EXPECT_EQ(ReadAll(Dir / "in.mp3"), Audio + SourceTag);
    // --force replaces the existing file, never the input.
    Split({"--parts", "2", "-o", "old {n}.mp3", "--force", "-d", d, In});
    EXPECT_EQ(JoinedAudio({"old 1.mp3", "old 2.mp3"}), Audio);
    EXPECT_NE(Split({"--parts", "1", "-o", "in.mp3", "--force", "-d", d, In}, 1).Err.find("is the input file"),
              std::string::npos);
    EXPECT_EQ(ReadAll(Dir / "in.mp3"), Audio + SourceTag);
    // Times that make an empty piece, and usage errors.
    EXPECT_NE(Split({"--at", "5:00", "-d", d, In}, 1).Err.find("past"), std::string::npos);
    Split({"--at", "2.0,1.0", In}, 2);
    Split({"--parts", "2", "--every", "1.0", In}, 2);
    Split({"--parts", "2", "-o", "{track}.mp3", In}, 2);
}

TEST(PieceNames, UnsafeCharactersAreReplaced)
{
    TPieceFields fields;
    fields.Number = 3;
    fields.Count = 120;
    fields.Name = "album";
    fields.Title = "AC/DC: \"Live\" <1|2> *?\\";
    fields.Artist = std::string("tab\there") + '\x7f';
    fields.Start = TStreamTime::FromMs(61'005);
    fields.End = TStreamTime::FromMs(6'000'000 + 7);
    EXPECT_EQ(PieceName("{name} {n} {title} {artist}.mp3", fields), "album 003 AC_DC_ _Live_ _1_2_ ___ tab_here_.mp3");
    EXPECT_EQ(PieceName("{start}-{end}", fields), "01.01.005-100.00.007");
    EXPECT_EQ(PieceName("a/b/{n}", fields), "a_b_003");
    EXPECT_EQ(BaseName("/x/y.z/some.name.mp3"), "some.name");
    EXPECT_EQ(BaseName(".hidden"), ".hidden");
    EXPECT_FALSE(CheckPieceTemplate("{n}{name}{title}{artist}{start}{end}"));
    EXPECT_TRUE(CheckPieceTemplate("{n"));
    EXPECT_TRUE(CheckPieceTemplate("{N}"));
    EXPECT_TRUE(CheckPieceNames({"a", ".."}, ".", true));
    EXPECT_TRUE(CheckPieceNames({"a", "b", "a"}, ".", true));
    EXPECT_TRUE(CheckPieceNames({std::string(300, 'x')}, ".", true));
}

class CueSheets : public ::testing::Test {
protected:
    TempDir Dir;
    const std::string In = Dir.Write("album.mp3", Frames(H44, 200, 0));

    std::string Sheet(const std::string& text) const
    {
        return Dir.Write("album.cue", TextBytes(text));
    }
};

TEST_F(CueSheets, TracksBeginAtIndex01PastNinetyNineMinutes)
{
    const TCueSheet sheet = ReadCueSheet(Sheet("PERFORMER \"Disc Band\"\n"
                                               "FILE \"album.wav\" WAVE\n"
                                               "  TRACK 01 AUDIO\n    TITLE \"One\"\n    PERFORMER \"Solo\"\n"
                                               "    INDEX 01 00:00:00\n"
                                               "  TRACK 02 AUDIO\n    TITLE \"Two\"\n"
                                               "    INDEX 00 05:00:00\n    INDEX 01 05:02:37\n"
                                               "  TRACK 03 AUDIO\n    INDEX 01 120:30:10\n"),
                                         In);
    ASSERT_TRUE(sheet.Declined.empty()) << sheet.Declined;
    ASSERT_EQ(sheet.Tracks.size(), 3u);
    EXPECT_EQ(sheet.Tracks[0].Performer, "Solo");
    EXPECT_EQ(sheet.Tracks[1].Title, "Two");
    EXPECT_EQ(sheet.Tracks[1].Performer, "Disc Band");
    // The pregap (INDEX 00) stays with the track before.
    EXPECT_EQ(sheet.Tracks[1].Start.Ticks, (5 * 60 * 75 + 2 * 75 + 37) * CueFrame.Ticks);
    EXPECT_EQ(sheet.Tracks[2].Start.Ticks, (120 * 60 * 75 + 30 * 75 + 10) * CueFrame.Ticks);
}

TEST_F(CueSheets, OtherFilesAndMissingIndexesAreDeclined)
{
    const auto declined = [&](const std::string& text) { return ReadCueSheet(Sheet(text), In).Declined; };
    EXPECT_NE(declined("FILE \"album.mp3\" MP3\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                       "FILE \"other.mp3\" MP3\n  TRACK 02 AUDIO\n    INDEX 01 00:10:00\n")
                  .find("another file ('other.mp3')"),
              std::string::npos);
    EXPECT_NE(declined("FILE \"album.mp3\" MP3\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                       "  TRACK 02 AUDIO\n    TITLE \"none\"\n")
                  .find("no INDEX 01"),
              std::string::npos);
    EXPECT_NE(declined("FILE \"album.mp3\" MP3\n  TRACK 01 AUDIO\n    INDEX 01 00:02:00\n"
                       "  TRACK 02 AUDIO\n    INDEX 01 00:01:00\n")
                  .find("does not begin after"),
              std::string::npos);
    // A track with only its INDEX 00 begins there.
    const TCueSheet sheet = ReadCueSheet(Sheet("FILE \"album.mp3\" MP3\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                               "  TRACK 02 AUDIO\n    INDEX 00 00:03:00\n"),
                                         In);
    ASSERT_EQ(sheet.Tracks.size(), 2u);
    EXPECT_EQ(sheet.Tracks[1].Start.Ticks, 3 * 75 * CueFrame.Ticks);
}

TEST_F(CueSheets, SplitFillsTitlesAndArtistsFromTheSheet)
{
    Sheet("PERFORMER \"Band\"\nFILE \"album.mp3\" MP3\n"
          "  TRACK 01 AUDIO\n    TITLE \"Intro\"\n    INDEX 01 00:00:00\n"
          "  TRACK 02 AUDIO\n    TITLE \"Song: Two?\"\n    INDEX 00 00:01:00\n    INDEX 01 00:02:00\n"
          "  TRACK 03 AUDIO\n    TITLE \"Outro\"\n    INDEX 01 00:04:00\n");
    const TRun r = RunCli({"split", "--cue", Dir / "album.cue", "-o", "{n} {artist} - {title}.mp3", "-d",
                           Dir.Path(), In});
    ASSERT_EQ(r.Exit, 0) << r.Err;
    const Bytes two = ReadAll(Dir / "2 Band - Song_ Two_.mp3");
    ASSERT_GT(two.size(), 128u);
    const Bytes tag = Slice(two, two.size() - 128, 128);
    EXPECT_EQ(std::string(tag.begin() + 3, tag.begin() + 13), "Song: Two?");
    EXPECT_EQ(std::string(tag.begin() + 33, tag.begin() + 37), "Band");
    EXPECT_EQ(tag[126], 2); // track
    // Track 2 begins at the first frame at or after 2 s: frame 77 (2.011 s).
    EXPECT_EQ(two.size() - 128, (154u - 77u) * 417);
    // A sheet for other files writes nothing (one other name alone is taken
    // for the input, with a note).
    Sheet("FILE \"else.mp3\" MP3\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
          "FILE \"more.mp3\" MP3\n  TRACK 02 AUDIO\n    INDEX 01 00:00:00\n");
    const TRun other = RunCli({"split", "--cue", Dir / "album.cue", "-o", "x{n}.mp3", "-d", Dir.Path(), In});
    EXPECT_EQ(other.Exit, 1);
    EXPECT_NE(other.Err.find("another file"), std::string::npos);
    EXPECT_FALSE(Exists(Dir / "x1.mp3"));
}

} // namespace

namespace {

// The sheet written for the pieces reads back as the split points, past
// 99 minutes too.
TEST_F(CueSheets, WrittenSheetsReadBackAsTheSplit)
{
    std::vector<TCueTrack> tracks(3);
    tracks[1].Start = {(2 * 75 + 30) * CueFrame.Ticks};
    tracks[1].Title = "Say \"hi\"";
    tracks[2].Start = {(125 * 60 * 75 + 74) * CueFrame.Ticks + 5};
    tracks[2].Performer = "P";
    Dir.Write("album.cue", TextBytes(CueSheetText(In, tracks)));
    const TCueSheet sheet = ReadCueSheet(Dir / "album.cue", In);
    ASSERT_TRUE(sheet.Declined.empty()) << sheet.Declined;
    ASSERT_EQ(sheet.Tracks.size(), 3u);
    EXPECT_EQ(sheet.Tracks[1].Start, tracks[1].Start);
    EXPECT_EQ(sheet.Tracks[1].Title, "Say 'hi'");
    EXPECT_EQ(sheet.Tracks[2].Start.Ticks, tracks[2].Start.Ticks - 5);
    EXPECT_EQ(sheet.Tracks[2].Performer, "P");

    const TRun r = RunCli({"split", "--at", "1.0,2.0", "--write-cue", Dir / "pieces.cue", "-d", Dir.Path(), In});
    ASSERT_EQ(r.Exit, 0) << r.Err;
    const TCueSheet written = ReadCueSheet(Dir / "pieces.cue", In);
    ASSERT_EQ(written.Tracks.size(), 3u);
    EXPECT_EQ(written.Tracks[1].Start.Ticks / CueFrame.Ticks, 76); // frame 39 starts at 1.0188 s
}

} // namespace

namespace {

// A piece that cannot be written (past the file size limit) leaves no part
// of itself; the pieces before it are complete and listed.
TEST_F(CliSplit, AFailedPieceLeavesOnlyCompletePieces)
{
    TempDir out;
    const TRun r = RunCli({"split", "--at", "0.3,0.6", "--no-tag", "-d", out.Path(), In}, {}, 20000);
    EXPECT_EQ(r.Exit, 3) << r.Err;
    EXPECT_EQ(r.Out, out / "in 1.mp3\n" + out / "in 2.mp3\n");
    EXPECT_NE(r.Err.find("the 2 pieces listed before it are complete"), std::string::npos) << r.Err;
    EXPECT_EQ(out.Names(), (std::vector<std::string>{"in 1.mp3", "in 2.mp3"}));
    EXPECT_EQ(ReadAll(out / "in 1.mp3") + ReadAll(out / "in 2.mp3"), Slice(Audio, 0, 23 * 417));
}

} // namespace

namespace {

// The cue's titles and the track numbers go into the kept ID3v2 tag too.
TEST_F(CueSheets, TitlesFillTheKeptId3v2Tag)
{
    const std::string tagged = Dir.Write("tagged.mp3", Id3v2(100) + Frames(H44, 200, 0));
    Sheet("FILE \"tagged.mp3\" MP3\n  TRACK 01 AUDIO\n    TITLE \"First\"\n    INDEX 01 00:00:00\n"
          "  TRACK 02 AUDIO\n    TITLE \"Second\"\n    PERFORMER \"Band\"\n    INDEX 01 00:02:00\n");
    const TRun r = RunCli({"split", "--cue", Dir / "album.cue", "--keep-id3v2", "-o", "k{n}.mp3", "-d", Dir.Path(),
                           tagged});
    ASSERT_EQ(r.Exit, 0) << r.Err;
    TagLib::MPEG::File second((Dir / "k2.mp3").c_str());
    ASSERT_NE(second.ID3v2Tag(false), nullptr);
    EXPECT_EQ(second.ID3v2Tag(false)->title(), "Second");
    EXPECT_EQ(second.ID3v2Tag(false)->artist(), "Band");
    EXPECT_EQ(second.ID3v2Tag(false)->track(), 2u);
}

} // namespace

namespace {

// An interrupt in the middle of a split: the pieces it leaves are complete
// (each the same as the piece of a split that ran to its end) and no hidden
// part of the piece it was writing stays behind.
TEST(CliSplitInterrupted, LeavesOnlyCompletePieces)
{
    TempDir dir, cut, whole;
    const std::string in = dir.Write("in.mp3", Frames(H44, 100000, 0)); // 43 minutes, 42 MB
    const std::vector<std::string> args{"split", "--parts", "1000", "--no-tag", "-o", "p{n}.mp3", "-d"};
    auto withFolder = [&](const TempDir& folder) {
        std::vector<std::string> all = args;
        all.push_back(folder.Path());
        all.push_back(in);
        return all;
    };
    ASSERT_EQ(RunCli(withFolder(whole)).Exit, 0);

    const int pid = StartCli(withFolder(cut));
    bool started = false;
    for (int i = 0; i < 20000 && !started; ++i) {
        started = std::filesystem::exists(cut / "p0001.mp3");
        if (!started)
            std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    ASSERT_TRUE(started);
    kill(pid, SIGINT);
    const int exit = WaitCli(pid);
    const std::vector<std::string> left = cut.Names();
    if (exit == 0)
        GTEST_SKIP() << "the split ended before the interrupt reached it";
    EXPECT_EQ(exit, 128 + SIGINT);
    EXPECT_LT(left.size(), 1000u);
    for (const std::string& name : left) {
        SCOPED_TRACE(name);
        ASSERT_NE(name[0], '.') << "a hidden part of a piece stayed behind";
        EXPECT_EQ(ReadAll(cut / name), ReadAll(whole / name));
    }
}

} // namespace
