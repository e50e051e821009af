// What vivizu-cli says about values that were probably meant otherwise: a
// bare number is milliseconds, and where a length is given as a small bare
// number the run says how it read it, then goes on.
#include "CliRunner.h"
#include "cli/Console.h"
#include "cli/Options.h"
#include "platform/Utf8.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

using namespace clitest;
using namespace vivizu;
using namespace vivizu::test;

namespace {

std::vector<std::string> TempDirNames(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(CliMessages, SmallBareLengthsAreNotedAsMilliseconds)
{
    EXPECT_EQ(BareMillisecondsNote("--fade-in", "2"), "note: --fade-in 2 is read as 2 ms; for 2 seconds write 2.0");
    for (const char* quiet : {"0", "00", "100", "2.0", "0:02", "1500", "", "x"})
        EXPECT_EQ(BareMillisecondsNote("--every", quiet), "") << quiet;

    TempDir dir;
    const std::string in = dir.Write("in.mp3", Frames(H44, 100, 0));
    struct TCase {
        std::vector<std::string> Args;
        const char* Note;
    };
    const TCase cases[] = {
        {{"split", "--every", "1", "--dry-run", in}, "--every 1 is read as 1 ms"},
        {{"split", "--silence", "--keep-silence", "5", "--dry-run", in}, "--keep-silence 5 is read as 5 ms"},
        {{"split", "--silence", "--min-length", "50", "--dry-run", in}, "--min-length 50 is read as 50 ms"},
        {{"cut", "--fade-out", "2", in, dir / "out.mp3", "0", "1000"}, "--fade-out 2 is read as 2 ms"},
    };
    for (const TCase& c : cases) {
        const TRun run = RunCli(c.Args);
        EXPECT_NE(run.Err.find(c.Note), std::string::npos) << run.Err;
    }
    const TRun seconds = RunCli({"split", "--every", "1.0", "--dry-run", in});
    EXPECT_EQ(seconds.Exit, 0) << seconds.Err;
    EXPECT_EQ(seconds.Err.find("note:"), std::string::npos) << seconds.Err;
}

// Messages that say what happened, not something near it.
TEST(CliMessages, SayWhatHappened)
{
    TempDir dir;
    const std::string in = dir.Write("in.mp3", Frames(H44, 100, 0));
    const std::string quiet = dir / "quiet.mp3";
    if (std::system(("sox -q -R -n -r 44100 -c 2 '" + dir / "quiet.wav" + "' trim 0 3 && lame --quiet '" + dir /
                     "quiet.wav" + "' '" + quiet + "'")
                        .c_str()) == 0) {
        const TRun silent = RunCli({"split", "--silence", "--dry-run", quiet});
        EXPECT_EQ(silent.Exit, 1);
        EXPECT_NE(silent.Err.find("silent throughout"), std::string::npos) << silent.Err;
        std::filesystem::remove(quiet);
        std::filesystem::remove(dir / "quiet.wav");
    }

    // -d naming a file: it is no folder (not "no such folder"); a folder
    // that is not there yet is made.
    const TRun file = RunCli({"split", "--parts", "2", "-d", in, in});
    EXPECT_EQ(file.Exit, 3);
    EXPECT_NE(file.Err.find("is not a folder"), std::string::npos) << file.Err;
    const TRun made = RunCli({"split", "--parts", "2", "-d", dir / "new/deeper", in});
    EXPECT_EQ(made.Exit, 0) << made.Err;
    EXPECT_EQ(TempDirNames(dir / "new/deeper"), (std::vector<std::string>{"in 1.mp3", "in 2.mp3"}));
    // A refused run makes no folder.
    EXPECT_EQ(RunCli({"split", "--parts", "2", "-d", dir / "other", dir / "missing.mp3"}).Exit, 3);
    EXPECT_FALSE(Exists(dir / "other"));

    // A full disk is called what it is.
    if (Exists("/dev/full")) {
        const TRun full = RunCli({"peaks", in}, {}, -1, "/dev/full");
        EXPECT_EQ(full.Exit, 3);
        EXPECT_NE(full.Err.find("No space left on device"), std::string::npos) << full.Err;
    }
}

// --json lines are valid UTF-8 for any file name: a name that is not UTF-8
// is given with its bytes replaced, and whole in hex beside it; a batch's
// dry run is one JSON object per line.
TEST(CliMessages, JsonForAnyFileName)
{
    TempDir dir;
    const std::string latin1 = dir.Write("caf\xe9.mp3", Frames(H44, 100, 0));
    const TRun run = RunCli({"split", "--parts", "2", "--json", "-d", dir / "out", latin1});
    ASSERT_EQ(run.Exit, 0) << run.Err;
    EXPECT_NE(run.Out.find("\"file\": \"" + dir.Path() + "/caf\\ufffd.mp3\""), std::string::npos) << run.Out;
    EXPECT_NE(run.Out.find("636166e92e6d7033"), std::string::npos) << run.Out; // "caf\xe9.mp3" in hex
    EXPECT_TRUE(IsUtf8(run.Out));

    const std::string other = dir.Write("b.mp3", Frames(H44, 60, 0));
    const TRun plan = RunCli({"split", "--parts", "2", "--dry-run", "--json", "-d", dir / "plan", latin1, other});
    ASSERT_EQ(plan.Exit, 0) << plan.Err;
    size_t lines = 0;
    for (size_t from = 0, nl; (nl = plan.Out.find('\n', from)) != std::string::npos; from = nl + 1) {
        const std::string line = plan.Out.substr(from, nl - from);
        EXPECT_TRUE(line.starts_with("{\"file\": ") && line.ends_with("]}")) << line;
        ++lines;
    }
    EXPECT_EQ(lines, 2u) << plan.Out;
}

} // namespace
