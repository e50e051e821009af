// The progress line of long single-file work: shown on a terminal once the
// work has taken a second, never in a pipe or a file.
#include "CliRunner.h"
#include "cli/Progress.h"

#include <gtest/gtest.h>


using namespace clitest;
using namespace vivizu;
using namespace vivizu::test;

namespace {

TEST(CliProgress, PercentOfTheWork)
{
    EXPECT_EQ(PercentText("loudness", 0, 1000), "loudness: 0%");
    EXPECT_EQ(PercentText("loudness", 455, 1000), "loudness: 45%");
    EXPECT_EQ(PercentText("loudness", 1200, 1000), "loudness: 100%");
    EXPECT_EQ(PercentText("loudness", 5, 0), "loudness: 0%");
}

// On a terminal (script gives the companion one) a decode of a minute-long
// file on one thread shows the line; through a pipe it does not.
TEST(CliProgress, ShownOnATerminalOnly)
{
    if (!HaveTool("script"))
        GTEST_SKIP() << "needs script";
    // Fifteen minutes: copies of a fixture's frames one after another.
    const Bytes one = ReadAll(std::string(VIVIZU_FIXTURES) + "/stereo-notag.mp3");
    ASSERT_FALSE(one.empty());
    Bytes many;
    while (many.size() < 15 * 60 * 16000)
        many.insert(many.end(), one.begin(), one.end());
    TempDir dir;
    const std::string mp3 = dir.Write("long.mp3", many);
    const std::string command = std::string(VIVIZU_CLI) + " loudness --threads 1 '" + mp3 + "'";
    const std::string onTerminal = ShellOutput("script -qec \"" + command + "\" /dev/null");
    const std::string piped = ShellOutput(command + " 2>&1");
    EXPECT_NE(onTerminal.find("loudness: "), std::string::npos) << onTerminal;
    EXPECT_NE(onTerminal.find("%"), std::string::npos) << onTerminal;
    EXPECT_EQ(piped.find("%"), std::string::npos) << piped;
    EXPECT_NE(piped.find("IntegratedLufs"), std::string::npos) << piped;
}

} // namespace
