// Pieces of a silence split on the frame index: the pauses split at, and
// how much of each pause the pieces keep.
#include "Mp3Bytes.h"
#include "engine/RoruvoMp3.h"
#include "engine/cut/SilenceSplit.h"

#include <gtest/gtest.h>

using namespace vivizu;
using namespace vivizu::test;

namespace {

constexpr int64_t F = 1152; // samples per frame at 44.1 kHz

class SilenceSplit : public ::testing::Test {
protected:
    void SetUp() override
    {
        Mp3.LoadFile(Dir.Write("in.mp3", Frames(H44, 100, 0)));
        ASSERT_TRUE(Mp3.Valid);
        ASSERT_EQ(Mp3.Index().Count(), 100u);
    }
    TSilencePlan Plan(std::vector<TSilence> silences, std::optional<int64_t> keepSamples, bool exact = false)
    {
        std::optional<TStreamTime> keep;
        if (keepSamples)
            keep = TStreamTime::FromSamples(*keepSamples, 44100);
        return PlanSilenceSplit(Mp3.Index(), silences, 44100, keep, exact);
    }
    TempDir Dir;
    TRoruvoMP3 Mp3;
};

TEST_F(SilenceSplit, SilenceAtTheStartOrEndIsNoPause)
{
    const TSilencePlan none = Plan({{0, 10 * F, -90}, {90 * F, 100 * F, -90}}, std::nullopt);
    EXPECT_TRUE(none.Pauses.empty());
    EXPECT_EQ(none.Ranges.Declined, "no silence found");
    EXPECT_TRUE(none.Ranges.Pieces.empty());

    // One inner pause of frames 40-50 (its middle at 45): two pieces that
    // cover the stream, the leading and trailing silence kept.
    const TSilencePlan one = Plan({{0, 10 * F, -90}, {40 * F, 50 * F, -90}, {90 * F, 100 * F, -90}}, std::nullopt);
    ASSERT_EQ(one.Pauses.size(), 1u);
    ASSERT_EQ(one.Ranges.Pieces.size(), 2u);
    EXPECT_EQ(one.Ranges.Pieces[0].First, 0u);
    EXPECT_EQ(one.Ranges.Pieces[0].Last, 45u);
    EXPECT_EQ(one.Ranges.Pieces[1].First, 45u);
    EXPECT_EQ(one.Ranges.Pieces[1].Last, 100u);
    EXPECT_TRUE(one.Ranges.Pieces[1].ToEnd);
}

TEST_F(SilenceSplit, KeptSilenceIsAtMostTheLengthAskedAndNeverCutsSound)
{
    // Two frames kept of each side: leading silence to frame 10, a pause of
    // frames 30-50, trailing silence from 90.
    const TSilencePlan plan =
        Plan({{0, 10 * F, -90}, {30 * F, 50 * F, -90}, {90 * F, 100 * F, -90}}, 2 * F);
    ASSERT_EQ(plan.Ranges.Pieces.size(), 2u);
    EXPECT_EQ(plan.Ranges.Pieces[0].First, 8u);
    EXPECT_EQ(plan.Ranges.Pieces[0].Last, 32u);
    EXPECT_EQ(plan.Ranges.Pieces[1].First, 48u);
    EXPECT_EQ(plan.Ranges.Pieces[1].Last, 92u);
    EXPECT_FALSE(plan.Ranges.Pieces[1].ToEnd);

    // A pause shorter than twice the kept length is shared at its middle:
    // the pieces neither overlap nor leave a frame out, wherever the middle
    // falls (at a frame start, inside a frame) and whatever is kept.
    const TSilencePlan shared = Plan({{30 * F, 33 * F, -90}}, 5 * F);
    ASSERT_EQ(shared.Ranges.Pieces.size(), 2u);
    EXPECT_EQ(shared.Ranges.Pieces[0].Last, 31u);
    EXPECT_EQ(shared.Ranges.Pieces[1].First, 31u);
    for (const int64_t pauseEnd : {32 * F, 33 * F, 34 * F + 7, 41 * F + 500})
        for (const int64_t keep : {(pauseEnd - 30 * F + 1) / 2, (pauseEnd - 30 * F) / 2 + 1, 20 * F}) {
            SCOPED_TRACE(testing::Message() << "pause to " << pauseEnd << ", keep " << keep);
            const TSilencePlan p = Plan({{30 * F, pauseEnd, -90}, {60 * F + 3, 62 * F, -90}}, keep);
            ASSERT_EQ(p.Ranges.Pieces.size(), 3u);
            EXPECT_EQ(p.Ranges.Pieces[0].First, 0u);
            EXPECT_EQ(p.Ranges.Pieces[0].Last, p.Ranges.Pieces[1].First);
            EXPECT_EQ(p.Ranges.Pieces[1].Last, p.Ranges.Pieces[2].First);
            EXPECT_EQ(p.Ranges.Pieces[2].Last, 100u);
        }

    // Nothing kept, the pause beginning and ending inside frames: the frames
    // that hold sound stay in their pieces.
    const TSilencePlan tight = Plan({{30 * F + 100, 50 * F + 100, -90}}, 0);
    ASSERT_EQ(tight.Ranges.Pieces.size(), 2u);
    EXPECT_EQ(tight.Ranges.Pieces[0].Last, 31u);
    EXPECT_EQ(tight.Ranges.Pieces[1].First, 50u);
}

TEST_F(SilenceSplit, ExactPiecesBeginAndEndAtTheKeptTimes)
{
    // 20 ms kept of a pause of 1000-2000 ms.
    const TSilencePlan plan = Plan({{44100, 88200, -90}}, 882, true);
    ASSERT_EQ(plan.Ranges.Pieces.size(), 2u);
    EXPECT_EQ(plan.Ranges.Pieces[0].Start.WholeMs(), 0);
    EXPECT_EQ(plan.Ranges.Pieces[0].End.WholeMs(), 1020);
    EXPECT_EQ(plan.Ranges.Pieces[1].Start.WholeMs(), 1980);
    EXPECT_TRUE(plan.Ranges.Pieces[1].ToEnd);
    EXPECT_EQ(plan.Ranges.Pieces[1].End, Mp3.Index().Duration());
}

} // namespace
