// The cut that walks as it writes past removed stretches (one walk over the
// source, the copy right behind it) writes exactly the frames and carrying
// frames of the cut planned on the whole walk first: the same removal, the plan closed by
// --chapters (which needs the end first), differs only in its leading tag;
// with nothing removed it writes the source's own bytes.
#include "CliRunner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

using namespace clitest;
using namespace vivizu::test;

namespace {

TEST(CliOnePass, WalkAsWrittenEqualsTheWholePlan)
{
    if (!HaveTool("sox") || !HaveTool("lame") || !HaveTool("ffmpeg") || !HaveTool("mpg123"))
        GTEST_SKIP() << "needs sox, lame, ffmpeg and mpg123";
    TempDir dir;
    const std::string vbr = dir / "vbr.mp3", cbr = dir / "cbr.mp3";
    // A minute: more than the input's buffer holds, so that the walk's
    // buffer moves on while the copy follows it.
    ASSERT_TRUE(EncodeSweep(dir.Path(), "60 sine 200-2000", 320));
    // One holds START, two overlap, two come out of order, one lies within
    // a frame (it takes nothing), two touch, one crosses END, one lies past it.
    const std::vector<std::string> stretches = {"0-1.3",     "11.5-14.0", "10.0-12.0", "40.0-41.0", "20.001-20.002",
                                                "30.0-31.0", "31.0-32.0", "25.0-26.0", "55.0-65.0", "70.0-80.0"};
    for (const std::string& source : {vbr, cbr}) {
        SCOPED_TRACE(source);
        std::vector<std::string> once = {"cut", "--no-tag"}, whole = {"cut", "--no-tag", "--chapters"};
        for (const std::string& s : stretches)
            for (auto* args : {&once, &whole}) {
                args->push_back("--remove");
                args->push_back(s);
            }
        for (auto* args : {&once, &whole})
            args->insert(args->end(), {source, *args == once ? dir / "once.mp3" : dir / "whole.mp3", "0.5", "58.0"});
        const TRun a = RunCli(once), b = RunCli(whole);
        ASSERT_EQ(a.Exit, 0) << a.Err;
        ASSERT_EQ(b.Exit, 0) << b.Err;
        const Bytes written = ReadAll(dir / "once.mp3"), planned = ReadAll(dir / "whole.mp3");
        ASSERT_GT(written.size(), 300000u);
        ASSERT_GT(planned.size(), written.size());
        EXPECT_TRUE(Slice(planned, planned.size() - written.size(), written.size()) == written);
        EXPECT_EQ(DecoderComplaints(dir / "once.mp3"), "");

        // With nothing removed the copy behind the walk writes one unbroken
        // run of the source's bytes.
        const TRun plain = RunCli({"cut", "--no-tag", source, dir / "plain.mp3", "0.5", "58.0"});
        ASSERT_EQ(plain.Exit, 0) << plain.Err;
        const Bytes run = ReadAll(dir / "plain.mp3"), all = ReadAll(source);
        ASSERT_GT(run.size(), 64u);
        const auto at = std::search(all.begin(), all.end(), run.begin(), run.begin() + 64);
        ASSERT_NE(at, all.end());
        const auto offset = static_cast<size_t>(at - all.begin());
        ASSERT_LE(offset + run.size(), all.size());
        EXPECT_TRUE(Slice(all, offset, run.size()) == run);
    }
}

} // namespace
