// Nothing a run writes may replace one of its inputs or another of its own
// outputs: every output of every input is planned and checked before the
// first byte is written, and a refused run writes nothing at all.
#include "CaseFoldMount.h"
#include "CliRunner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using namespace clitest;
using namespace vivizu::test;

namespace {

class RunOutputs : public ::testing::Test {
protected:
    TempDir Dir;
    const Bytes Audio = Frames(H44, 100, 0);
    const Bytes Other = Frames(H44, 60, 1);

    void ExpectRefused(const std::vector<std::string>& args, const std::string& reason,
                       const std::vector<std::string>& names)
    {
        const TRun r = RunCli(args);
        EXPECT_EQ(r.Exit, 1) << r.Err;
        EXPECT_NE(r.Err.find(reason), std::string::npos) << r.Err;
        EXPECT_NE(r.Err.find("nothing written"), std::string::npos) << r.Err;
        EXPECT_EQ(Dir.Names(), names);
    }
};

// The cue sheet of a split is an output like its pieces: never the input
// (also with --force), never one of the pieces just written.
TEST_F(RunOutputs, TheCueSheetNeitherReplacesTheInputNorAPiece)
{
    const std::string src = Dir.Write("src.mp3", Audio);
    const std::string d = Dir.Path();
    ExpectRefused({"split", "--parts", "4", "-d", d, "--force", "--write-cue", src, src}, "is the input file",
                  {"src.mp3"});
    ExpectRefused({"split", "--parts", "4", "-d", d, "--force", "--write-cue", d + "/./src.mp3", src},
                  "is the input file", {"src.mp3"});
    ASSERT_EQ(symlink(src.c_str(), (Dir / "link.cue").c_str()), 0);
    ExpectRefused({"split", "--parts", "4", "-d", d, "--force", "--write-cue", Dir / "link.cue", src},
                  "is the input file", {"link.cue", "src.mp3"});
    std::filesystem::remove(Dir / "link.cue");
    ExpectRefused({"split", "--parts", "2", "-d", d, "-o", "p{n}.mp3", "--write-cue", Dir / "p1.mp3", src},
                  "would be written twice", {"src.mp3"});
    // From another folder, by a relative name with "..".
    std::filesystem::create_directories(Dir / "sub");
    ExpectRefused({"split", "--parts", "2", "-d", Dir / "sub", "-o", "p{n}.mp3", "--write-cue",
                   Dir / "sub/../sub/p2.mp3", src},
                  "would be written twice", {"src.mp3", "sub"});
    EXPECT_EQ(ReadAll(src), Audio);
}

// On a mount that folds letter case, SRC.MP3 is the input too.
TEST_F(RunOutputs, TheCueSheetIsNotTheInputUnderAnotherCaseEither)
{
    const std::string root = Dir / "root", mount = Dir / "m";
    std::filesystem::create_directories(root);
    const std::string src = Dir.Write("root/src.mp3", Audio);
    TCaseFoldMount served(root, mount);
    if (!served.Ready())
        GTEST_SKIP() << "no FUSE here (/dev/fuse or python3-fusepy missing)";
    std::filesystem::create_directories(Dir / "out");
    const TRun again = RunCli({"split", "--parts", "2", "-d", Dir / "out", "--force", "--write-cue",
                               mount + "/SRC.MP3", mount + "/src.mp3"});
    EXPECT_EQ(again.Exit, 1) << again.Err;
    EXPECT_NE(again.Err.find("is the input file"), std::string::npos) << again.Err;
    EXPECT_EQ(ReadAll(src), Audio);
    EXPECT_TRUE(std::filesystem::is_empty(Dir / "out"));
}

// --force replaces files of earlier runs, never an input of this one: the
// pieces of a.mp3 would be named "a 1.mp3", which is the next input.
TEST_F(RunOutputs, ForceNeverReplacesAnotherInputOfTheRun)
{
    const std::string a = Dir.Write("a.mp3", Audio);
    const std::string a1 = Dir.Write("a 1.mp3", Other);
    ExpectRefused({"split", "--parts", "2", "-d", Dir.Path(), "--force", a, a1}, "is the input " + a1,
                  {"a 1.mp3", "a.mp3"});
    EXPECT_EQ(ReadAll(a1), Other);
    // The same for a batch cut, where the cut of "a" is named "a 1.mp3".
    ExpectRefused({"cut", "-d", Dir.Path(), "-o", "{name} 1.mp3", "--force", a, a1, "0", "1000"},
                  "is the input " + a1, {"a 1.mp3", "a.mp3"});
    EXPECT_EQ(ReadAll(a1), Other);
}

// Two inputs whose outputs would have one name are refused together, before
// anything is written, whatever order the workers take them in.
TEST_F(RunOutputs, NamesOfTwoInputsThatCollideAreRefusedWithNothingWritten)
{
    TempDir out;
    const std::string a = Dir.Write("a.mp3", Audio);
    const std::string a1 = Dir.Write("a1.mp3", Other);
    // Every 0.25 s: a.mp3 (2.6 s) has 11 pieces, a1.mp3 (1.6 s) 7, so that
    // "a" + "11" and "a1" + "1" both give a11.mp3.
    for (int round = 0; round < 5; ++round) {
        const TRun r = RunCli({"split", "--every", "0.25", "-d", out.Path(), "-o", "{name}{n}.mp3", a, a1});
        EXPECT_EQ(r.Exit, 1) << r.Err;
        EXPECT_NE(r.Err.find("a11.mp3 would be written twice"), std::string::npos) << r.Err;
        EXPECT_TRUE(out.Names().empty());
    }
    // Names that clean to the same name: "x:y" and "x?y" both give "x_y".
    const std::string colon = Dir.Write("x:y.mp3", Audio);
    const std::string question = Dir.Write("x?y.mp3", Other);
    const TRun cut = RunCli({"cut", "-d", out.Path(), colon, question, "0", "1000"});
    EXPECT_EQ(cut.Exit, 1) << cut.Err;
    EXPECT_NE(cut.Err.find("would be written twice"), std::string::npos) << cut.Err;
    EXPECT_TRUE(out.Names().empty());
    // Several inputs into one --write-cue or --chapters file likewise (a
    // usage error before anything is looked at).
    const TRun cues = RunCli({"split", "--parts", "2", "-d", out.Path(), "--write-cue", out / "all.cue", a, a1});
    EXPECT_NE(cues.Exit, 0) << cues.Err;
    EXPECT_TRUE(out.Names().empty());
    const TRun chapters = RunCli({"split", "--parts", "2", "--chapters", out / "c.mp3", a, a1});
    EXPECT_NE(chapters.Exit, 0) << chapters.Err;
    EXPECT_TRUE(out.Names().empty());
    // Without a collision the same inputs split as before.
    EXPECT_EQ(RunCli({"split", "--parts", "2", "-d", out.Path(), a, a1}).Exit, 0);
    EXPECT_EQ(out.Names(), (std::vector<std::string>{"a 1.mp3", "a 2.mp3", "a1 1.mp3", "a1 2.mp3"}));
}

// peaks -o never writes its picture over the file it is of.
TEST_F(RunOutputs, PeaksNeverReplacesItsInput)
{
    const std::string song = Dir.Write("song.json", Audio); // an MP3 with an unusual name
    ASSERT_EQ(symlink(song.c_str(), (Dir / "link.dat").c_str()), 0);
    for (const std::string& out : {song, Dir / "link.dat", Dir.Path() + "/./song.json"}) {
        SCOPED_TRACE(out);
        const TRun r = RunCli({"peaks", "-o", out, song});
        EXPECT_EQ(r.Exit, 1) << r.Err;
        EXPECT_NE(r.Err.find("is the input file"), std::string::npos) << r.Err;
        EXPECT_EQ(ReadAll(song), Audio);
    }
    EXPECT_EQ(RunCli({"peaks", "-o", Dir / "song.dat", song}).Exit, 0);
}

} // namespace
