// "vivizu [FILE]": which file opens at start, and the options.
#include "app/CommandLine.h"

#include <gtest/gtest.h>

using namespace vivizu;

namespace {
TCommandLine Read(const QStringList& arguments) {
    return ReadCommandLine(arguments, QStringLiteral("/home/u/music"));
}
} // namespace

TEST(CommandLine, TheFirstFileNamedOpensAsAnAbsolutePath) {
    EXPECT_EQ(Read({}).File, QString());
    EXPECT_EQ(Read({}).Action, TCommandLine::Run);
    EXPECT_EQ(Read({"/data/a.mp3"}).File, "/data/a.mp3");
    EXPECT_EQ(Read({"a.mp3", "b.mp3"}).File, "/home/u/music/a.mp3");
    EXPECT_EQ(Read({"../x/a b.mp3"}).File, "/home/u/x/a b.mp3");
    // What a file manager may hand over instead of a path.
    EXPECT_EQ(Read({"file:///data/a%20b.mp3"}).File, "/data/a b.mp3");
    // An empty argument names nothing; the next one is taken.
    EXPECT_EQ(Read({"", "c.mp3"}).File, "/home/u/music/c.mp3");
}

TEST(CommandLine, OptionsAndTheEndOfOptions) {
    EXPECT_EQ(Read({"--help"}).Action, TCommandLine::Help);
    EXPECT_EQ(Read({"a.mp3", "-h"}).Action, TCommandLine::Help);
    EXPECT_EQ(Read({"--version"}).Action, TCommandLine::Version);
    const auto wrong = Read({"--frobnicate", "a.mp3"});
    EXPECT_EQ(wrong.Action, TCommandLine::Wrong);
    EXPECT_TRUE(wrong.Problem.contains("--frobnicate"));
    // After "--" a name starting with "-" is a file.
    const auto dashed = Read({"--", "-x.mp3", "--help"});
    EXPECT_EQ(dashed.Action, TCommandLine::Run);
    EXPECT_EQ(dashed.File, "/home/u/music/-x.mp3");
}
