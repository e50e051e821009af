// The input is never overwritten, also where inode numbers do not tell one
// file from another: a FUSE file system without stable inode numbers that
// folds letter case, where "Song.mp3" and "SONG.MP3" are one file.
#include "CaseFoldMount.h"
#include "CliRunner.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

using namespace clitest;
using namespace vivizu::test;

namespace {

TEST(SameFileRule, AnotherSpellingOnACaseFoldingMountIsTheInput)
{
    TempDir dir;
    const std::string root = dir / "root", mount = dir / "m";
    std::filesystem::create_directories(root);
    const Bytes song = Frames(H44, 200, 0);
    const std::string source = root + "/Song.mp3";
    {
        std::ofstream(source, std::ios::binary).write(reinterpret_cast<const char*>(song.data()),
                                                       static_cast<std::streamsize>(song.size()));
    }
    // A true copy: the same size, bytes and modification time, but made
    // later, so another change time.
    ASSERT_EQ(std::system(("cp -p '" + source + "' '" + root + "/Copy.mp3'").c_str()), 0);
    TCaseFoldMount served(root, mount);
    if (!served.Ready())
        GTEST_SKIP() << "no FUSE here (/dev/fuse or python3-fusepy missing)";
    struct stat a {}, b {};
    ASSERT_EQ(stat((mount + "/Song.mp3").c_str(), &a), 0);
    ASSERT_EQ(stat((mount + "/SONG.MP3").c_str(), &b), 0);
    ASSERT_NE(a.st_ino, b.st_ino) << "the mount gives one file one inode: not the case tested here";

    for (const char* name : {"/SONG.MP3", "/song.mp3"}) {
        SCOPED_TRACE(name);
        const TRun run = RunCli({"cut", mount + "/Song.mp3", mount + name, "1000", "2000"});
        EXPECT_EQ(run.Exit, 1) << run.Err;
        EXPECT_NE(run.Err.find("is the input file"), std::string::npos) << run.Err;
        EXPECT_EQ(ReadAll(source), song);
    }
    // Other files on the mount are written as anywhere, the copy included.
    EXPECT_EQ(RunCli({"cut", "--no-tag", mount + "/Song.mp3", mount + "/COPY.MP3", "0", "1000"}).Exit, 0);
    EXPECT_EQ(ReadAll(root + "/Copy.mp3"), Frames(H44, 39, 0));
    EXPECT_EQ(RunCli({"cut", "--no-tag", mount + "/Song.mp3", mount + "/Part.mp3", "0", "1000"}).Exit, 0);
    EXPECT_EQ(ReadAll(root + "/Part.mp3"), Frames(H44, 39, 0));
    EXPECT_EQ(ReadAll(source), song);
}

} // namespace
