// Snapping to quiet: into the middle of a pause within reach, to the
// quietest boundary where there is no pause, on the frame grid asked for,
// and nowhere beyond the radius; and on a real file's estimate, into the
// pause that sox put there.
#include "SoundFiles.h"
#include "engine/RoruvoMp3.h"
#include "engine/cut/CutPlan.h"
#include "engine/decode/QuietPoint.h"
#include "engine/io/FileStream.h"

#include <gtest/gtest.h>

namespace vivizu {
namespace {

TGranuleLevels Grid(std::vector<float> levels)
{
    return {10.0, std::move(levels)};
}

TEST(QuietPoint, MiddleOfThePauseWithinReach)
{
    std::vector<float> levels(100, 0.9f);
    std::fill(levels.begin() + 40, levels.begin() + 60, 0.0f); // 400..600 ms silent
    const TGranuleLevels grid = Grid(levels);
    EXPECT_NEAR(QuietestPoint(grid, 300.0, 400.0, 1), 500.0, 10.0);
    EXPECT_NEAR(QuietestPoint(grid, 700.0, 400.0, 1), 500.0, 10.0);
    // Part of the pause within reach: the middle of that part.
    EXPECT_NEAR(QuietestPoint(grid, 300.0, 250.0, 1), 480.0, 10.0);
    // Out of reach: the quietest boundary within the radius (all equal:
    // the middle of the reach).
    EXPECT_NEAR(QuietestPoint(grid, 150.0, 100.0, 1), 150.0, 10.0);
}

TEST(QuietPoint, QuietestBoundaryOnTheFrameGrid)
{
    std::vector<float> levels(100, 0.9f);
    levels[31] = 0.2f;
    levels[32] = 0.1f;
    levels[33] = 0.2f;
    const TGranuleLevels grid = Grid(levels);
    // Granule boundaries: 320 ms lies between 0.2 and 0.1.
    const double granuleSnap = QuietestPoint(grid, 400.0, 200.0, 1);
    EXPECT_TRUE(granuleSnap == 320.0 || granuleSnap == 330.0) << granuleSnap;
    // Frames of two granules: only even boundaries.
    const double frameSnap = QuietestPoint(grid, 400.0, 200.0, 2);
    EXPECT_EQ(static_cast<int>(frameSnap) % 20, 0);
    EXPECT_TRUE(frameSnap == 320.0 || frameSnap == 340.0) << frameSnap;
    EXPECT_EQ(QuietestPoint(TGranuleLevels{}, 123.0, 1000.0, 1), 123.0);
}

TEST(QuietPoint, SnapsIntoASynthesisedPause)
{
    test::TSoundFolder folder;
    // Noise 0..2 s, silence 2..3 s; the reach from 0.7 to 2.7 s holds the
    // pause from 2.0 (and the encoder's delay) to 2.7 s.
    const std::string file = folder.Mp3("pause", "synth 2 pinknoise vol 0.5 pad 0 1 channels 2 rate 44100", "-b 128");
    const TGranuleLevels levels = test::OpeningEstimate(file);
    ASSERT_GT(levels.DurationMs(), 2900.0);
    const double snapped = QuietestPoint(levels, 1700.0, 1000.0, 2);
    EXPECT_NEAR(snapped, 2360.0, 60.0);
}

// A marker's snap: a pause of three granules has its middle on a granule
// boundary that is no frame boundary; the frame grid takes the frame boundary
// with quiet on both sides instead. Without levels the marker stays.
TEST(QuietPoint, MarkerSnapOnTheFrameOrTheGranuleGrid)
{
    test::TSoundFolder folder;
    // 48 kHz: frames of 24 ms, granules of 12 ms.
    const std::string file = folder.Mp3("tone48", "synth 6 sine 440 vol 0.5 channels 2 rate 48000", "-b 128");
    TRoruvoMP3 mp3(file);
    ASSERT_TRUE(mp3.Valid);
    const TFrameIndex index = mp3.CompleteIndex();
    ASSERT_GE(index.Count(), 200u);
    std::vector<float> levels(400, 0.8f);
    std::fill(levels.begin() + 200, levels.begin() + 203, 0.0f); // 2400..2436 ms
    const TGranuleLevels grid{12.0, levels};
    // The quiet boundaries are granules 201 and 202: the middle of the two
    // on the granule grid, the frame boundary among them on the frame grid.
    EXPECT_EQ(SnapStartToQuietMs(grid, 1800, index, true), 2412);
    EXPECT_EQ(SnapStartToQuietMs(grid, 1800, index, false), 2424);
    EXPECT_EQ(SnapEndToQuietMs(grid, 1800, index, false, 0), 2424);
    // Beyond a second's reach: the pause is not seen.
    EXPECT_NE(SnapStartToQuietMs(grid, 1300, index, true), 2412);
    EXPECT_EQ(SnapStartToQuietMs(TGranuleLevels{}, 1234, index, false), 1234);
    EXPECT_EQ(SnapStartToQuietMs(grid, 1234, TFrameIndex(), false), 1234);
}

// At 44.1 kHz frame boundaries are no whole milliseconds: frame 5 begins at
// 130.612 ms and frame 23 at 600.816 ms. A START snapped to frame 5 and an
// END snapped to frame 23 make the plain cut take frames 5 to 22, whether
// START is the snapped one or a typed time inside frame 5 and the snapped
// END was worked out from it.
TEST(QuietPoint, SnappedMarkersSelectTheFramesTheySnappedTo)
{
    test::TSoundFolder folder;
    const std::string file = folder.Mp3("tone", "synth 2 sine 440 vol 0.5 channels 2 rate 44100", "-b 128");
    TRoruvoMP3 mp3(file);
    ASSERT_TRUE(mp3.Valid);
    TFrameIndex index = mp3.CompleteIndex();
    TInputFile input(file);
    // Loud everywhere but two pauses: the only quiet frame boundaries are
    // those of frames 5 and 23.
    std::vector<float> loud(150, 0.8f);
    std::fill(loud.begin() + 8, loud.begin() + 12, 0.0f);
    std::fill(loud.begin() + 44, loud.begin() + 48, 0.0f);
    const TGranuleLevels levels{576 * 1000.0 / 44100, loud};

    const int64_t start = SnapStartToQuietMs(levels, 100, index, false);
    EXPECT_EQ(start, 130);
    const int64_t end = SnapEndToQuietMs(levels, 650, index, false, start);
    TCutPlan plan = PlanPlainCut(index, input, static_cast<int32_t>(start), static_cast<int32_t>(end));
    EXPECT_EQ(plan.First, 5u) << "START " << start;
    EXPECT_EQ(plan.Last, 23u) << "END " << end;
    EXPECT_NEAR(index.StartOf(plan.First).Ms(), 130.612, 0.001);

    // A typed START inside frame 4: the cut begins with frame 5 all the same,
    // and END is worked out from that frame's start.
    const int64_t later = SnapEndToQuietMs(levels, 650, index, false, 110);
    plan = PlanPlainCut(index, input, 110, static_cast<int32_t>(later));
    EXPECT_EQ(plan.First, 5u);
    EXPECT_EQ(plan.Last, 23u) << "END " << later;
    // The exact cut takes the nearest millisecond of the granule boundary.
    EXPECT_EQ(SnapStartToQuietMs(levels, 100, index, true), 131);
}

} // namespace
} // namespace vivizu
