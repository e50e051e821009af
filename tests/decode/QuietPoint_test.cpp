// Snapping to quiet: into the middle of a pause within reach, to the
// quietest boundary where there is no pause, on the frame grid asked for,
// and nowhere beyond the radius; and on a real file's estimate, into the
// pause that sox put there.
#include "SoundFiles.h"
#include "engine/RoruvoMp3.h"
#include "engine/decode/QuietPoint.h"

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
    std::vector<float> levels(400, 0.8f);
    std::fill(levels.begin() + 200, levels.begin() + 203, 0.0f); // 2000..2030 ms
    const TGranuleLevels grid = Grid(levels);
    EXPECT_EQ(SnapToQuietMs(grid, 1500, 20.0, true), 2010);
    EXPECT_EQ(SnapToQuietMs(grid, 1500, 20.0, false), 2020);
    // Beyond a second's reach: the pause is not seen.
    EXPECT_NE(SnapToQuietMs(grid, 900, 20.0, true), 2010);
    EXPECT_EQ(SnapToQuietMs(TGranuleLevels{}, 1234, 26.0, false), 1234);
}

} // namespace
} // namespace vivizu
