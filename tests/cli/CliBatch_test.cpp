// cut and split over several files: every good file done, each bad one
// reported with its reason, and the exit code the worst of them.
#include "CliRunner.h"

#include <gtest/gtest.h>

using namespace clitest;
using namespace vivizu::test;

namespace {

class CliBatch : public ::testing::Test {
protected:
    TempDir In;
    TempDir Out;
    const Bytes Audio = Frames(H44, 100, 0);
    std::vector<std::string> Good;

    void SetUp() override
    {
        for (int i = 0; i < 6; ++i)
            Good.push_back(In.Write("good" + std::to_string(i) + ".mp3", Audio));
    }
};

TEST_F(CliBatch, SplitWritesEveryGoodFileAndNamesTheBadOnes)
{
    std::vector<std::string> args{"split", "--parts", "3", "-d", Out.Path()};
    args.insert(args.end(), Good.begin(), Good.end());
    args.push_back(In.Write("text.mp3", TextBytes("no audio here")));
    args.push_back(In / "missing.mp3");
    const TRun r = RunCli(args);
    EXPECT_EQ(r.Exit, 3); // a missing file is a failure: worse than a decline
    EXPECT_NE(r.Err.find("text.mp3: not an MP3 stream"), std::string::npos) << r.Err;
    EXPECT_NE(r.Err.find("missing.mp3"), std::string::npos);
    EXPECT_EQ(Out.Names().size(), 18u);
    for (int i = 0; i < 6; ++i) {
        Bytes joined;
        for (int n = 1; n <= 3; ++n)
            joined = joined + ReadAll(Out / ("good" + std::to_string(i) + " " + std::to_string(n) + ".mp3"));
        EXPECT_EQ(joined, Audio);
    }
}

TEST_F(CliBatch, CutReportsEachFileAsAJsonLine)
{
    const std::string shortFile = In.Write("short.mp3", Frames(H44, 10, 0));
    const TRun r = RunCli({"cut", "--json", "-d", Out.Path(), "-o", "{name}.mp3", Good[0], shortFile, Good[1],
                           "1.0", "2.0"});
    EXPECT_EQ(r.Exit, 1); // the short file's range is past its end: declined
    EXPECT_NE(r.Out.find("\"file\": \"" + shortFile + "\", \"status\": \"declined\""), std::string::npos) << r.Out;
    EXPECT_NE(r.Out.find("past the end"), std::string::npos);
    EXPECT_NE(r.Out.find("\"status\": \"done\", \"written\": [\"" + Out / "good1.mp3\"]"), std::string::npos);
    EXPECT_EQ(Out.Names(), (std::vector<std::string>{"good0.mp3", "good1.mp3"}));
    EXPECT_EQ(ReadAll(Out / "good0.mp3"), Slice(Audio, 39 * 417, 39 * 417));
    // Nothing on the terminal's progress line when stderr is no terminal,
    // and usage errors before anything: the same name twice, no {name}.
    EXPECT_EQ(r.Err, "");
    EXPECT_EQ(RunCli({"cut", "-d", Out.Path(), Good[0], Good[0], "0", "1"}).Exit, 2);
    EXPECT_EQ(RunCli({"split", "--parts", "2", "-o", "{n}.mp3", "-d", Out.Path(), Good[0], Good[1]}).Exit, 2);
}

} // namespace
