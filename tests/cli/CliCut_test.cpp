// vivizu-cli cut on byte-built files: which frames, which tag, which refusals.
#include "CliRunner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace clitest;
using namespace vivizu::test;

namespace {

const Bytes SourceTag = Id3v1Fields("Song", "Band", "Record", "1999", "Note", 5, 13);

class CliCut : public ::testing::Test {
protected:
    TempDir Dir;
    // 100 frames (2612 ms) and a tag with track 5 and genre 13.
    const std::string Tagged = Dir.Write("tagged.mp3", Frames(H44, 100, 0) + SourceTag);
    const std::string Bare = Dir.Write("bare.mp3", Frames(H44, 100, 0));
    const std::string Out = Dir / "out.mp3";

    std::string Cut(std::vector<std::string> args, int exitCode = 0,
                    const std::vector<std::pair<std::string, std::string>>& env = {})
    {
        args.insert(args.begin(), "cut");
        const TRun r = RunCli(args, env);
        EXPECT_EQ(r.Exit, exitCode) << r.Err;
        return r.Err;
    }
    Bytes Written() const { return ReadAll(Out); }
};

} // namespace

TEST_F(CliCut, CopiesTheFramesOfTheRangeWithTheSourcesTag)
{
    // 1000 ms into frames of 26.122 ms: 39 frames skipped, 39 written.
    Cut({Tagged, Out, "1000", "2000"});
    EXPECT_EQ(Written(), Frames(H44, 39, 39) + SourceTag);
    // The same range typed as times.
    Cut({Tagged, Out, "0:01", "00:00:02.000"});
    EXPECT_EQ(Written(), Frames(H44, 39, 39) + SourceTag);
}

TEST_F(CliCut, StartsAtTheFirstFrameBeginningAtOrAfterStart)
{
    Cut({"--no-tag", Bare, Out, "26", "52"}); // frame 1 begins at 26.12 ms
    EXPECT_EQ(Written(), Frames(H44, 1, 1));
    Cut({"--no-tag", Bare, Out, "27", "53"}); // inside frame 1: frame 2 comes first
    EXPECT_EQ(Written(), Frames(H44, 1, 2));
    Cut({"--no-tag", Bare, Out, "0", "99:00"}); // past the end: every frame
    EXPECT_EQ(Written(), Frames(H44, 100, 0));
}

// A range with no audio frame is declined and writes nothing, also over an
// earlier file.
TEST_F(CliCut, NothingToCutIsDeclined)
{
    EXPECT_NE(Cut({Tagged, Out, "2000", "1000"}, 1).find("END is not after START"), std::string::npos);
    EXPECT_NE(Cut({Tagged, Out, "1000", "1000"}, 1).find("nothing to cut"), std::string::npos);
    EXPECT_NE(Cut({Tagged, Out, "2613", "9000"}, 1).find("START is past the end"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(Out));
    Dir.Write("out.mp3", TextBytes("an older file"));
    Cut({Bare, Out, "99:00", "99:01"}, 1);
    EXPECT_EQ(Written(), TextBytes("an older file"));
}

TEST_F(CliCut, TagOptionsDecideWhetherATagIsWritten)
{
    Cut({"--no-tag", Tagged, Out, "0", "100"});
    EXPECT_EQ(Written(), Frames(H44, 4, 0));
    Cut({Bare, Out, "0", "100"});
    EXPECT_EQ(Written(), Frames(H44, 4, 0));
    Cut({"--tag", Bare, Out, "0", "100"});
    EXPECT_EQ(Written(), Frames(H44, 4, 0) + Id3v1Fields("", "", "", "", "", 0, 255));
}

TEST_F(CliCut, FieldOptionsChangeSingleFields)
{
    Cut({"--title", "Привет", "--year=20245", "--track", "12", "--genre", "0", Tagged, Out, "0", "30"},
        0, {{"LANG", "ru_RU.UTF-8"}});
    EXPECT_EQ(Written(),
              Frames(H44, 2, 0) + Id3v1Fields("\xCF\xF0\xE8\xE2\xE5\xF2", "Band", "Record", "2024", "Note", 12, 0));

    // A track outside 1-255 is none, and the comment gets all 30 bytes back.
    const std::string comment30(30, 'c');
    Cut({"--track", "300", "--comment", comment30, Tagged, Out, "0", "30"});
    EXPECT_EQ(Written(), Frames(H44, 2, 0) + Id3v1Fields("Song", "Band", "Record", "1999", comment30, 0, 13));

    // A field option on a source without a tag asks for one.
    Cut({"--artist", "Solo", Bare, Out, "0", "30"});
    EXPECT_EQ(Written(), Frames(H44, 2, 0) + Id3v1Fields("", "Solo", "", "", "", 0, 255));
}

TEST_F(CliCut, NeverOverwritesTheInput)
{
    const Bytes before = ReadAll(Tagged);
    std::filesystem::create_symlink(Tagged, Dir / "link.mp3");
    std::filesystem::create_hard_link(Tagged, Dir / "hard.mp3");
    for (const std::string& out : {Tagged, Dir / "link.mp3", Dir / "hard.mp3",
                                   Dir / "./tagged.mp3"}) {
        EXPECT_NE(Cut({Tagged, out, "0", "1000"}, 1).find("is the input file"), std::string::npos);
        EXPECT_EQ(ReadAll(Tagged), before) << out;
    }
}

TEST_F(CliCut, DeclinedCutsSayWhyAndWriteNothing)
{
    const std::string text = Dir.Write("text.mp3", TextBytes("not audio at all"));
    EXPECT_NE(Cut({text, Out, "0", "1000"}, 1).find("not an MP3 stream"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(Out));
}

// Output-side failures exit with 3 and name the reason.
TEST_F(CliCut, DestinationsThatCannotBeWrittenSayWhy)
{
    mkfifo((Dir / "fifo").c_str(), 0600);
    Dir.Write("readonly.mp3", TextBytes("kept"));
    chmod((Dir / "readonly.mp3").c_str(), 0444);
    const bool root = geteuid() == 0; // root may write any file
    const struct {
        std::string out;
        const char* reason;
    } cases[] = {
        {Dir / "no/such/folder.mp3", "No such file or directory"},
        {Dir / "", "Is a directory"},
        {Dir.Path(), "Is a directory"},
        {Dir / "fifo", "not a regular file"},
        {"/dev/null", "not a regular file"},
        {Dir / (std::string(4000, 'd') + "/x.mp3"), "File name too long"},
        {Dir / "readonly.mp3", root ? "" : "Permission denied"},
    };
    for (const auto& c : cases) {
        if (*c.reason == '\0')
            continue;
        const std::string err = Cut({Bare, c.out, "0", "1000"}, 3);
        EXPECT_NE(err.find("cannot be created"), std::string::npos) << err;
        EXPECT_NE(err.find(c.reason), std::string::npos) << err;
    }
    EXPECT_EQ(ReadAll(Dir / "readonly.mp3"), TextBytes("kept"));
    EXPECT_EQ(Dir.Names(), (std::vector<std::string>{"bare.mp3", "fifo", "readonly.mp3", "tagged.mp3"}));
}

// A link to a file that does not exist yet is written where it points, and
// stays a link.
TEST_F(CliCut, DanglingLinkIsWrittenWhereItPoints)
{
    std::filesystem::create_directory(Dir / "sub");
    std::filesystem::create_symlink("sub/target.mp3", Out);
    Cut({"--no-tag", Bare, Out, "0", "30"});
    EXPECT_TRUE(std::filesystem::is_symlink(Out));
    EXPECT_EQ(ReadAll(Dir / "sub/target.mp3"), Frames(H44, 2, 0));
}

TEST_F(CliCut, ReplacesAnEarlierOutputFile)
{
    Dir.Write("out.mp3", TextBytes("an older file"));
    Cut({"--no-tag", Bare, Out, "0", "30"});
    EXPECT_EQ(Written(), Frames(H44, 2, 0));
}

TEST_F(CliCut, FileSystemErrorsExitWithThree)
{
    EXPECT_NE(Cut({Dir / "missing.mp3", Out, "0", "1000"}, 3).find("No such file or directory"),
              std::string::npos);
}

// A last frame cut short by the end of the file (a truncated download) is no
// frame: the frames before it and the tag make the cut.
TEST_F(CliCut, TruncatedDownloadIsCutWithItsTag)
{
    const std::string truncated =
        Dir.Write("truncated.mp3", Frames(H44, 5, 0) + Slice(Frame(H44, 5), 0, 200) + SourceTag);
    Cut({truncated, Out, "0", "99:00"});
    EXPECT_EQ(Written(), Frames(H44, 5, 0) + SourceTag);
}

TEST_F(CliCut, WriteErrorKeepsTheEarlierFileAndLeavesNothingBehind)
{
    Dir.Write("out.mp3", TextBytes("an older file"));
    // Writing the 100 frames goes past a file size limit of 4 KiB.
    const TRun r = RunCli({"cut", "--no-tag", Bare, Out, "0", "10000"}, {}, 4096);
    EXPECT_EQ(r.Exit, 3) << r.Err;
    EXPECT_NE(r.Err.find("File too large"), std::string::npos) << r.Err;
    EXPECT_EQ(Written(), TextBytes("an older file"));
    EXPECT_EQ(Dir.Names(), (std::vector<std::string>{"bare.mp3", "out.mp3", "tagged.mp3"}));
}

TEST_F(CliCut, UsageErrorsExitWithTwoBeforeTouchingAnything)
{
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {Bare, Out, "0"},
             {Bare, Out, "0", "1000", "extra"},
             {Bare, Out, "1:75", "1000"},
             {Bare, Out, "0", "-5"},
             {Bare, Out, "0", "2147483648"},   // beyond the 32-bit milliseconds a cut takes
             {"--tag", "--no-tag", Bare, Out, "0", "1000"},
             {"--no-tag", "--title", "x", Bare, Out, "0", "1000"},
             {"--genre", "256", Bare, Out, "0", "1000"},
             {"--track", "seven", Bare, Out, "0", "1000"},
             {"--colour", "red", Bare, Out, "0", "1000"},
             {Bare, Out, "0", "1000", "--title"}}) {
        EXPECT_NE(Cut(args, 2), "");
        EXPECT_FALSE(std::filesystem::exists(Out)) << args.front();
    }
}
