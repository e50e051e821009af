// vivizu-cli split --gain, --fade-in and --fade-out: every piece is what a
// cut with the same options makes of the plain piece, Layers I and II are
// declined before anything is written, and the options are read as cut
// reads them.
#include "CliRunner.h"

#include <gtest/gtest.h>

using namespace clitest;
using namespace vivizu::test;

namespace {

const std::string Fixtures = VIVIZU_FIXTURES;

class CliSplitGain : public ::testing::Test {
protected:
    TempDir Dir;
};

// The gain and the fades of a split are a cut's of each piece: the split
// with them gives, piece by piece, the bytes of `cut` with them over the
// whole of the plain split's piece (the gain steps every granule, the fades
// count granules from the piece's own first and last).
TEST_F(CliSplitGain, EveryPieceIsTheCutOfThePlainPieceWithTheSameVolume)
{
    const std::string source = Fixtures + "/tone-pause-tone.mp3";
    const std::vector<std::vector<std::string>> volumes{
        {"--gain", "3"}, {"--gain", "-4.5", "--fade-in", "0.3", "--fade-out", "0.4"}, {"--fade-out", "0.25"}};
    for (const std::vector<std::string>& volume : volumes) {
        SCOPED_TRACE(volume[0] + " " + volume[1]);
        ShellOutput("rm -rf '" + Dir.Path() + "'/*");
        std::vector<std::string> split{"split", "--no-tag", "--at", "1.2,2.5", "-d", Dir / "gained"};
        split.insert(split.end(), volume.begin(), volume.end());
        split.push_back(source);
        const TRun run = RunCli(split);
        ASSERT_EQ(run.Exit, 0) << run.Err;
        ASSERT_EQ(RunCli({"split", "--no-tag", "--at", "1.2,2.5", "-d", Dir / "plain", source}).Exit, 0);
        for (int n = 1; n <= 3; ++n) {
            SCOPED_TRACE(n);
            const std::string name = "tone-pause-tone " + std::to_string(n) + ".mp3";
            std::vector<std::string> cut{"cut", "--no-tag"};
            cut.insert(cut.end(), volume.begin(), volume.end());
            const std::string ours = Dir / ("cut " + std::to_string(n) + ".mp3");
            cut.insert(cut.end(), {Dir / ("plain/" + name), ours, "0", "3600000"});
            ASSERT_EQ(RunCli(cut).Exit, 0);
            const Bytes gained = ReadAll(Dir / ("gained/" + name));
            ASSERT_GT(gained.size(), 1000u);
            EXPECT_EQ(gained, ReadAll(ours));
            EXPECT_NE(gained, ReadAll(Dir / ("plain/" + name)));
        }
    }
}

// A split of a Layer II file with a gain or a fade is declined with the
// reason, and neither a piece nor the folder is written; the same split
// without them is written.
TEST_F(CliSplitGain, LayerTwoIsDeclinedWithNothingWritten)
{
    const std::string source = Fixtures + "/layer2-48k.mp3";
    for (const std::vector<std::string>& volume :
         std::vector<std::vector<std::string>>{{"--gain", "3"}, {"--fade-in", "0.2"}, {"--fade-out", "0.2"}}) {
        SCOPED_TRACE(volume[0]);
        std::vector<std::string> split{"split", "--at", "0.5", "-d", Dir / "out"};
        split.insert(split.end(), volume.begin(), volume.end());
        split.push_back(source);
        const TRun run = RunCli(split);
        EXPECT_EQ(run.Exit, 1);
        EXPECT_NE(run.Err.find("gain and fades need Layer III audio"), std::string::npos) << run.Err;
        EXPECT_NE(run.Err.find("nothing written"), std::string::npos) << run.Err;
        EXPECT_TRUE(run.Out.empty()) << run.Out;
        EXPECT_FALSE(Exists(Dir / "out"));
        // With --json the refusal is the file's line.
        split.insert(split.begin() + 1, "--json");
        const TRun json = RunCli(split);
        EXPECT_EQ(json.Exit, 1);
        EXPECT_NE(json.Out.find("\"status\": \"declined\", \"written\": []"), std::string::npos) << json.Out;
    }
    ASSERT_EQ(RunCli({"split", "--at", "0.5", "-d", Dir / "out", source}).Exit, 0);
    EXPECT_EQ(Dir.Names(), std::vector<std::string>{"out"});
}

// The values are read as cut reads them, with cut's range; a chaptered
// copy changes no volume and so takes none of them.
TEST_F(CliSplitGain, ValuesAreReadAsCutReadsThem)
{
    const std::string source = Fixtures + "/tone-pause-tone.mp3";
    for (const char* bad : {"loud", "", "+300", "60.5", "-61"}) {
        const TRun split = RunCli({"split", "--at", "1", "--gain", bad, "-d", Dir / "out", source});
        const TRun cut = RunCli({"cut", "--gain", bad, source, Dir / "c.mp3", "0", "1000"});
        EXPECT_EQ(split.Exit, 2) << bad;
        EXPECT_EQ(cut.Exit, 2) << bad;
        EXPECT_EQ(split.Err.substr(split.Err.find(':', 12)), cut.Err.substr(cut.Err.find(':', 12))) << bad;
    }
    EXPECT_EQ(RunCli({"split", "--at", "1", "--fade-in", "soon", "-d", Dir / "out", source}).Exit, 2);
    const TRun chapters = RunCli({"split", "--at", "1", "--gain", "3", "--chapters", Dir / "ch.mp3", source});
    EXPECT_EQ(chapters.Exit, 2);
    EXPECT_NE(chapters.Err.find("--chapters copies the file"), std::string::npos) << chapters.Err;
    // Both ends of the range are taken.
    EXPECT_EQ(RunCli({"split", "--at", "1", "--gain", "60", "-d", Dir / "hi", source}).Exit, 0);
    EXPECT_EQ(RunCli({"split", "--at", "1", "--gain", "-60", "-d", Dir / "lo", source}).Exit, 0);
    EXPECT_FALSE(Exists(Dir / "out"));
}

} // namespace
