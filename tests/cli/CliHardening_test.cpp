// vivizu-cli when things go wrong underneath it: a disk that fails a read,
// an input cut shorter by another program, signals during a cut, odd option
// lists, an output stream that cannot be written.
#include "CliRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace clitest;
using namespace vivizu::test;

namespace {

const Bytes SourceTag = Id3v1Fields("Song", "Band", "Record", "1999", "Note", 5, 13);

bool IsTemporaryOutput(const std::string& name)
{
    return name.rfind(".out.mp3.part-", 0) == 0;
}

// Waits until the cut's temporary output exists: the cut is then running.
bool WaitForTemporaryOutput(const TempDir& dir)
{
    for (int i = 0; i < 20000; ++i) {
        for (const std::string& name : dir.Names())
            if (IsTemporaryOutput(name))
                return true;
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    return false;
}

class LongCut : public ::testing::Test {
protected:
    // A few frames and then a long run of zero bytes (taking no disk space),
    // so that a cut of the whole stream runs for a while after it has created
    // its output; an earlier output file that must survive.
    void SetUp() override
    {
        Dir.Write("in.mp3", Frames(H44, 20, 0));
        ASSERT_EQ(truncate(In.c_str(), off_t{1} << 30), 0);
        Dir.Write("out.mp3", Earlier);
    }

    void ExpectEarlierOutputOnly()
    {
        EXPECT_EQ(ReadAll(Out), Earlier);
        EXPECT_EQ(Dir.Names(), (std::vector<std::string>{"in.mp3", "out.mp3"}));
    }

    TempDir Dir;
    const std::string In = Dir / "in.mp3";
    const std::string Out = Dir / "out.mp3";
    const Bytes Earlier = TextBytes("the earlier file");
};

TEST_F(LongCut, SignalsRemoveTheTemporaryOutput)
{
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGUSR1, SIGUSR2, SIGALRM, SIGVTALRM, SIGRTMIN + 3}) {
        SCOPED_TRACE(signal);
        const int pid = StartCli({"cut", "--no-tag", In, Out, "0", "500:00:00"});
        ASSERT_TRUE(WaitForTemporaryOutput(Dir));
        kill(pid, signal);
        EXPECT_EQ(WaitCli(pid), 128 + signal);
        ExpectEarlierOutputOnly();
    }
}

// SIGKILL cannot be caught and leaves the temporary output; the next cut into
// the folder removes it, and only what is certainly stale: not a file of a
// running process, not one written in the last seconds.
TEST_F(LongCut, NextCutRemovesWhatSigkillLeft)
{
    const int pid = StartCli({"cut", "--no-tag", In, Out, "0", "500:00:00"});
    ASSERT_TRUE(WaitForTemporaryOutput(Dir));
    kill(pid, SIGKILL);
    EXPECT_EQ(WaitCli(pid), 128 + SIGKILL);
    std::vector<std::string> left;
    for (const std::string& name : Dir.Names())
        if (IsTemporaryOutput(name))
            left.push_back(name);
    ASSERT_EQ(left.size(), 1u);

    const pid_t gone = fork(); // a process number that no longer exists
    if (gone == 0)
        _exit(0);
    waitpid(gone, nullptr, 0);
    const std::string fresh = ".x.mp3.part-" + std::to_string(gone) + "-1-0";
    const std::string living = ".x.mp3.part-" + std::to_string(getpid()) + "-1-0";
    const std::string other = ".x.mp3.partial-" + std::to_string(gone) + "-1-0";
    for (const std::string& name : {fresh, living, other})
        Dir.Write(name, TextBytes("data"));
    const timespec minuteAgo[2] = {{time(nullptr) - 60, 0}, {time(nullptr) - 60, 0}};
    for (const std::string& name : {left[0], living, other})
        ASSERT_EQ(utimensat(AT_FDCWD, (Dir / name).c_str(), minuteAgo, 0), 0);

    ASSERT_EQ(RunCli({"cut", "--no-tag", Dir.Write("small.mp3", Frames(H44, 5, 0)), Dir / "cut.mp3", "0", "50"}).Exit, 0);
    std::vector<std::string> expected = {"cut.mp3", "in.mp3", "out.mp3", "small.mp3", fresh, living, other};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(Dir.Names(), expected);
}

// Another program cuts the input shorter while it is being read.
TEST_F(LongCut, InputCutShorterDuringTheCutIsAReadError)
{
    const int pid = StartCli({"cut", "--no-tag", In, Out, "0", "500:00:00"});
    ASSERT_TRUE(WaitForTemporaryOutput(Dir));
    ASSERT_EQ(truncate(In.c_str(), 100000), 0);
    EXPECT_EQ(WaitCli(pid), 3);
    ExpectEarlierOutputOnly();
}

// A file served by a file system that fails one block with EIO.
class ReadErrors : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (access("/dev/fuse", R_OK | W_OK) != 0 ||
            std::system("/usr/bin/python3 -c 'import fusepy' 2>/dev/null") != 0)
            GTEST_SKIP() << "no FUSE here (/dev/fuse or python3-fusepy missing): the read error test is skipped";
        std::filesystem::create_directory(Mount);
        Source = Dir.Write("source.mp3", Frames(H44, 2000, 0) + SourceTag);
        Server = fork();
        ASSERT_GE(Server, 0);
        if (Server == 0) {
            const int null = open("/dev/null", O_WRONLY);
            dup2(null, 1);
            dup2(null, 2);
            const std::string bad = std::to_string(417 * 1500);
            execl("/usr/bin/python3", "python3", VIVIZU_TEST_SCRIPTS "/eiofs.py", Source.c_str(), Mount.c_str(),
                  bad.c_str(), nullptr);
            _exit(127);
        }
        for (int i = 0; i < 500 && !std::filesystem::exists(Served); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (!std::filesystem::exists(Served))
            GTEST_SKIP() << "FUSE cannot be mounted here: the read error test is skipped";
    }

    void TearDown() override
    {
        if (Server <= 0)
            return;
        kill(Server, SIGTERM); // the file system unmounts itself
        int status = 0;
        waitpid(Server, &status, 0);
        umount2(Mount.c_str(), MNT_DETACH); // in case it could not
    }

    TempDir Dir;
    const std::string Mount = Dir / "mnt";
    const std::string Served = Mount + "/in.mp3";
    const std::string Out = Dir / "out.mp3";
    std::string Source;
    pid_t Server = -1;
};

TEST_F(ReadErrors, EndTheCommandWithTheSystemsError)
{
    const TRun info = RunCli({"info", Served});
    EXPECT_EQ(info.Exit, 3) << info.Err;
    EXPECT_NE(info.Err.find("Input/output error"), std::string::npos) << info.Err;

    Dir.Write("out.mp3", TextBytes("the earlier file"));
    const TRun cut = RunCli({"cut", Served, Out, "0", "99:00"});
    EXPECT_EQ(cut.Exit, 3) << cut.Err;
    EXPECT_NE(cut.Err.find("Input/output error"), std::string::npos) << cut.Err;
    EXPECT_EQ(ReadAll(Out), TextBytes("the earlier file"));
    EXPECT_EQ(Dir.Names(), (std::vector<std::string>{"mnt", "out.mp3", "source.mp3"}));

    // A cut that ends before the bad block is not disturbed by it.
    EXPECT_EQ(RunCli({"cut", "--no-tag", Served, Out, "0", "1000"}).Exit, 0);
    EXPECT_EQ(ReadAll(Out), Frames(H44, 39, 0));
}

class Options : public ::testing::Test {
protected:
    TempDir Dir;
    const std::string In = Dir.Write("in.mp3", Frames(H44, 10, 0));
    const std::string Out = Dir / "out.mp3";
};

// An option's value is never read as an option.
TEST_F(Options, ValuesThatLookLikeOptionsAreValues)
{
    const TRun r = RunCli({"cut", "--title", "-h", "--artist=--no-tag", In, Out, "0", "30"});
    EXPECT_EQ(r.Exit, 0) << r.Err;
    EXPECT_EQ(ReadAll(Out), Frames(H44, 2, 0) + Id3v1Fields("-h", "--no-tag", "", "", "", 0, 255));
}

// "--" ends the options: what follows is an operand, also when it begins
// with a dash.
TEST_F(Options, DoubleDashEndsTheOptions)
{
    Dir.Write("-in.mp3", Frames(H44, 10, 0));
    const auto saved = std::filesystem::current_path();
    std::filesystem::current_path(Dir.Path());
    const TRun info = RunCli({"info", "--", "-in.mp3"});
    const TRun cut = RunCli({"cut", "--no-tag", "--", "-in.mp3", "--help", "0", "30"});
    std::filesystem::current_path(saved);
    EXPECT_EQ(info.Exit, 0) << info.Err;
    EXPECT_NE(info.Out.find("Valid: true"), std::string::npos);
    EXPECT_EQ(cut.Exit, 0) << cut.Err;
    EXPECT_EQ(ReadAll(Dir / "--help"), Frames(H44, 2, 0));
}

TEST_F(Options, UnknownOptionsAndMissingValuesAreUsageErrors)
{
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    std::vector<Case> cases = {
        {{"cut", In, Out, "0", "30", "--title"}, "'--title' needs a value"},
        {{"cut", "-x", In, Out, "0", "30"}, "unknown option '-x'"},
        {{"cut", "--colour=red", In, Out, "0", "30"}, "unknown option '--colour'"},
        {{"cut", "--tag=yes", In, Out, "0", "30"}, "'--tag' takes no value"},
        {{"info", "--json=1", In}, "'--json' takes no value"},
        {{"info", "-j", In}, "unknown option '-j'"},
    };
#if VIVIZU_HAVE_MEDIA
    cases.push_back({{"play", "--loud", In}, "unknown option '--loud'"});
#endif
    for (const auto& c : cases) {
        const TRun r = RunCli(c.args);
        EXPECT_EQ(r.Exit, 2) << c.args[1];
        EXPECT_NE(r.Err.find(c.message), std::string::npos) << r.Err;
        EXPECT_FALSE(std::filesystem::exists(Out));
    }
}

TEST(CliInfoOutput, WriteErrorOnTheReportExitsWithThree)
{
    const std::string file = std::string(VIVIZU_FIXTURES) + "/mono8k.mp3";
    const TRun r = RunCli({"info", file}, {}, -1, "/dev/full");
    EXPECT_EQ(r.Exit, 3);
    EXPECT_NE(r.Err.find("No space left on device"), std::string::npos) << r.Err;
}

} // namespace
