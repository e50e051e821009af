// The arithmetic of loudness normalisation: the nearest whole step to the
// target, the true-peak ceiling that lowers it, and silence.
#include "engine/cut/Normalize.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace vivizu {
namespace {

TLoudness Measured(double lufs, double truePeak)
{
    TLoudness l;
    l.IntegratedLufs = lufs;
    l.TruePeakDbtp = truePeak;
    return l;
}

TEST(Normalize, TakesTheNearestWholeStepEitherWay)
{
    // 1.505 dB per step: 4 dB is 2.66 steps, -4 dB -2.66, 2.2 dB 1.46.
    EXPECT_EQ(NormalizeSteps(Measured(-22.0, -30.0), -18.0, false).Steps, 3);
    EXPECT_EQ(NormalizeSteps(Measured(-14.0, -10.0), -18.0, false).Steps, -3);
    EXPECT_EQ(NormalizeSteps(Measured(-20.2, -30.0), -18.0, false).Steps, 1);
    EXPECT_EQ(NormalizeSteps(Measured(-18.0, -30.0), -18.0, false).Steps, 0);
    // Many steps do not drift: 30 dB is 19.93 true steps, 20 at 1.5 dB.
    EXPECT_EQ(NormalizeSteps(Measured(-48.0, -40.0), -18.0, false).Steps, 20);
    EXPECT_EQ(NormalizeSteps(Measured(-48.0, -40.0), -18.0, false).PeakLimited, false);
}

TEST(Normalize, LowersTheStepsUntilTheTruePeakKeepsTheCeiling)
{
    // +6 dB wanted (4 steps), the peak at -5 dBTP allows 4 dB: 2 steps.
    const TNormalizeSteps limited = NormalizeSteps(Measured(-24.0, -5.0), -18.0, false);
    EXPECT_EQ(limited.Steps, 2);
    EXPECT_TRUE(limited.PeakLimited);
    EXPECT_LE(-5.0 + limited.Steps * ExactGainStepDb, TruePeakCeilingDbtp);
    // A peak above the ceiling lowers even a selection that needs more gain.
    const TNormalizeSteps above = NormalizeSteps(Measured(-20.0, 0.5), -18.0, false);
    EXPECT_EQ(above.Steps, -1);
    EXPECT_TRUE(above.PeakLimited);
    // Exactly on the ceiling after the gain: kept.
    const TNormalizeSteps onCeiling =
        NormalizeSteps(Measured(-24.0, TruePeakCeilingDbtp - 2 * ExactGainStepDb), -18.0, false);
    EXPECT_EQ(onCeiling.Steps, 2);
    // Allowed to clip: the nearest steps.
    const TNormalizeSteps clipping = NormalizeSteps(Measured(-24.0, -5.0), -18.0, true);
    EXPECT_EQ(clipping.Steps, 4);
    EXPECT_FALSE(clipping.PeakLimited);
    // Another ceiling.
    EXPECT_EQ(NormalizeSteps(Measured(-24.0, -5.0), -18.0, false, -2.0).Steps, 1);
}

TEST(Normalize, SilenceGetsNoSteps)
{
    const double inf = std::numeric_limits<double>::infinity();
    const TNormalizeSteps silent = NormalizeSteps(Measured(-inf, -inf), -18.0, false);
    EXPECT_TRUE(silent.Silent);
    EXPECT_EQ(silent.Steps, 0);
    // A peak of silence never limits a measured loudness.
    EXPECT_EQ(NormalizeSteps(Measured(-21.0, -inf), -18.0, false).Steps, 2);
}

} // namespace
} // namespace vivizu
