// CutSegment's outcomes and their reasons, and the removal of an unfinished
// output by a signal.
#include "FileSizeLimit.h"
#include "Mp3Bytes.h"
#include "engine/io/FileStream.h"
#include "engine/RoruvoMp3.h"
#include "engine/io/SignalCleanup.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <csignal>
#include <sys/stat.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace vivizu;
using namespace vivizu::test;

namespace {

const TID3v1Tag NoTag{};

class CutResults : public ::testing::Test {
protected:
    void SetUp() override
    {
        Mp3.LoadFile(Dir.Write("in.mp3", Frames(H48, 10)));
        ASSERT_TRUE(Mp3.Valid);
    }
    TCutResult Cut(const std::string& out, int32_t start = 0, int32_t end = 48, bool declineEmpty = false)
    {
        TCutOptions options;
        options.DeclineEmpty = declineEmpty;
        return Mp3.CutSegment(start, end, out, NoTag, options);
    }

    TempDir Dir;
    const std::string Out = Dir / "out.mp3";
    TRoruvoMP3 Mp3;
};

TEST_F(CutResults, RefusalsNameTheirReason)
{
    TCutResult r = Cut(Mp3.FileName);
    EXPECT_EQ(r.Status, TCutStatus::OutputIsInput);
    EXPECT_NE(r.Message.find("is the input file"), std::string::npos);

    ASSERT_EQ(symlink("a", (Dir / "b").c_str()), 0);
    ASSERT_EQ(symlink("b", (Dir / "a").c_str()), 0);
    r = Cut(Dir / "a");
    EXPECT_EQ(r.Status, TCutStatus::DestinationNotWritable);
    EXPECT_EQ(r.Errno, ELOOP);
    EXPECT_FALSE(r.Error);

    unlink(Mp3.FileName.c_str());
    r = Cut(Out);
    EXPECT_EQ(r.Status, TCutStatus::InputGone);
    EXPECT_EQ(r.Errno, ENOENT);
    EXPECT_EQ(Dir.Names(), (std::vector<std::string>{"a", "b"}));

    TRoruvoMP3 none;
    EXPECT_EQ(none.CutSegment(0, 48, Out, NoTag).Status, TCutStatus::NotAnalysed);
}

// Beside a folder with a long path the temporary file gets a shorter name;
// where even the shortest does not fit, that is the reason given.
TEST_F(CutResults, TemporaryNameFitsBesideLongFolderNames)
{
    std::vector<std::string> folders;
    const auto deepFolder = [&](size_t length) {
        std::string path = Dir.Path();
        while (path.size() < length) {
            path += "/" + std::string(std::min<size_t>(200, length - path.size() - 1), 'f');
            if (mkdir(path.c_str(), 0700) == 0)
                folders.push_back(path);
        }
        return path;
    };
    const std::string roomy = deepFolder(PATH_MAX - 60) + "/x.mp3";
    EXPECT_TRUE(Cut(roomy).Ok());
    EXPECT_EQ(ReadAll(roomy).size(), 768u);
    unlink(roomy.c_str());

    const std::string cramped = deepFolder(PATH_MAX - 20) + "/x.mp3";
    const TCutResult r = Cut(cramped);
    EXPECT_EQ(r.Status, TCutStatus::DestinationNotWritable);
    EXPECT_EQ(r.Errno, ENAMETOOLONG);
    EXPECT_NE(r.Message.find("temporary file"), std::string::npos) << r.Message;
    for (auto it = folders.rbegin(); it != folders.rend(); ++it)
        rmdir(it->c_str());
}

// Declining a range without audio is the caller's choice; otherwise such a
// cut writes an output without frames.
TEST_F(CutResults, NothingToCutOnlyWhenAskedToDecline)
{
    const struct {
        int32_t start, end;
        const char* reason;
    } empty[] = {{96, 96, "END is not after START"}, {96, 10, "END is not after START"},
                 {240, 1000, "START is past the end"}, {5000, 6000, "START is past the end"}};
    for (const auto& c : empty) {
        const TCutResult declined = Cut(Out, c.start, c.end, true);
        EXPECT_EQ(declined.Status, TCutStatus::NothingToCut);
        EXPECT_NE(declined.Message.find(c.reason), std::string::npos) << declined.Message;
        EXPECT_FALSE(Exists(Out));
        EXPECT_TRUE(Cut(Out, c.start, c.end).Ok());
        EXPECT_TRUE(ReadAll(Out).empty());
        unlink(Out.c_str());
    }
    // The last frame begins at 216 ms.
    EXPECT_TRUE(Cut(Out, 216, 1000, true).Ok());
    EXPECT_EQ(ReadAll(Out).size(), 384u);
}

// A write error is reported with the system's error and the exception that
// SaveSegment raises for it; nothing is left behind.
TEST_F(CutResults, WriteErrorCarriesTheSystemsError)
{
    Dir.Write("out.mp3", TextBytes("earlier"));
    TFileSizeLimit limit(1000);
    const TCutResult r = Cut(Out, 0, 1000);
    limit.Restore();

    EXPECT_EQ(r.Status, TCutStatus::WriteError);
    EXPECT_EQ(r.Errno, EFBIG);
    EXPECT_NE(r.Message.find("File too large"), std::string::npos);
    EXPECT_THROW(std::rethrow_exception(r.Error), TStreamWriteError);
    EXPECT_EQ(ReadAll(Out), TextBytes("earlier"));
    EXPECT_EQ(Dir.Names(), (std::vector<std::string>{"in.mp3", "out.mp3"}));
}

// An output being written when a signal ends the process is removed; the
// process still ends by that signal.
void WriteAndRaise(const std::string& path, int signal)
{
    const struct rlimit noCore {0, 0}; // SIGQUIT would leave a core file
    setrlimit(RLIMIT_CORE, &noCore);
    InstallSignalCleanup();
    TOutputFile out(path);
    out.Write(Frames(H48, 1000));
    std::raise(signal);
}

TEST(SignalCleanup, UnfinishedOutputIsRemoved)
{
    TempDir dir;
    dir.Write("out.mp3", TextBytes("earlier"));
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        EXPECT_EXIT(WriteAndRaise(dir / "out.mp3", signal), ::testing::KilledBySignal(signal), "");
        EXPECT_EQ(dir.Names(), std::vector<std::string>{"out.mp3"});
    }
    EXPECT_EQ(ReadAll(dir / "out.mp3"), TextBytes("earlier"));
}

// A signal the program ignores (SIGHUP under nohup) stays ignored.
TEST(SignalCleanup, IgnoredSignalsStayIgnored)
{
    TempDir dir;
    const auto run = [&dir] {
        std::signal(SIGHUP, SIG_IGN);
        WriteAndRaise(dir / "out.mp3", SIGHUP);
        std::exit(7);
    };
    EXPECT_EXIT(run(), ::testing::ExitedWithCode(7), "");
    EXPECT_TRUE(dir.Names().empty());
}

} // namespace
