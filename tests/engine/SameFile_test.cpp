// One file under two names, and two files that only look alike.
#include "Mp3Bytes.h"
#include "engine/io/SameFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <unistd.h>

using namespace vivizu;
using namespace vivizu::test;

TEST(SameFile, NamesOfOneFileAndFilesThatOnlyLookAlike)
{
    TempDir dir;
    const std::string a = dir.Write("a.mp3", Frames(H44, 400, 0));
    ASSERT_EQ(link(a.c_str(), (dir / "hard.mp3").c_str()), 0);
    ASSERT_EQ(symlink(a.c_str(), (dir / "soft.mp3").c_str()), 0);
    EXPECT_TRUE(AreSameFile(a, dir / "hard.mp3"));
    EXPECT_TRUE(AreSameFile(a, dir / "soft.mp3"));
    EXPECT_TRUE(AreSameFile(a, dir.Path() + "/./a.mp3"));
    EXPECT_FALSE(AreSameFile(a, dir / "missing.mp3"));
    // A copy with the same bytes and modification time was still made
    // later: another change time.
    ASSERT_EQ(std::system(("cp -p '" + a + "' '" + dir / "copy.mp3" + "'").c_str()), 0);
    EXPECT_FALSE(AreSameFile(a, dir / "copy.mp3"));
    EXPECT_FALSE(AreSameFile(a, dir.Write("other.mp3", Frames(H44, 400, 1))));
}
