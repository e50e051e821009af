// Levels kept in two bytes as the cache stores them: out-of-range levels
// clamped, the nearest step kept, read back and searched as floats.
#include "engine/decode/GranuleLevels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace vivizu {
namespace {

TEST(UnitLevels, KeptAsTheNearestOfTheCachesSteps)
{
    TUnitLevels levels;
    for (const float level : {0.0f, 1.0f, -0.25f, 1.5f, 0.5f, 1.0f / 65535 * 0.49f, 1.0f / 65535 * 0.51f})
        levels.push_back(level);
    const std::vector<uint16_t> stored(levels.Stored().begin(), levels.Stored().end());
    EXPECT_EQ(stored, (std::vector<uint16_t>{0, 65535, 0, 65535, 32768, 0, 1}));
    EXPECT_EQ(levels[1], 1.0f);
    EXPECT_EQ(levels[4], 32768 / 65535.0f);
    EXPECT_EQ(levels[6], 1 / 65535.0f);
    // A level read back is kept as it is: quantising it again changes nothing.
    for (size_t i = 0; i < levels.size(); ++i)
        EXPECT_EQ(TUnitLevels::Quantise(levels[i]), stored[i]) << i;
}

// The step is the one the cache has always written: std::lround of the
// level times 65535, halves rounded up.
TEST(UnitLevels, QuantisedAsTheCacheRoundsThem)
{
    std::mt19937 random(3);
    std::uniform_real_distribution<float> level(0.0f, 1.0f);
    for (int i = 0; i < 200000; ++i) {
        const float l = level(random);
        ASSERT_EQ(TUnitLevels::Quantise(l), std::lround(l * 65535.0f)) << l;
    }
    for (int step = 0; step < 65535; ++step) {
        const float half = (static_cast<float>(step) + 0.5f) / 65535.0f;
        ASSERT_EQ(TUnitLevels::Quantise(half), std::lround(half * 65535.0f)) << step;
    }
    EXPECT_EQ(TUnitLevels::Quantise(std::nanf("")), 0);
}

TEST(UnitLevels, ReadAsFloatsInOrder)
{
    TUnitLevels levels(std::vector<float>{0.1f, 0.7f, 0.3f, 0.9f, 0.2f});
    levels.Fill(3, 5, 0.05f);
    levels.Set(0, 0.8f);
    const std::vector<float> read(levels.begin(), levels.end());
    ASSERT_EQ(read.size(), 5u);
    EXPECT_EQ(*std::max_element(levels.begin(), levels.end()), levels[0]);
    EXPECT_EQ(*std::max_element(levels.begin() + 1, levels.begin() + 3), levels[1]);
    EXPECT_EQ(std::max_element(levels.begin() + 3, levels.end()) - levels.begin(), 3);
    EXPECT_NEAR(read[4], 0.05f, 1.0f / 65535);
    EXPECT_EQ(levels.end() - levels.begin(), 5);
}

} // namespace
} // namespace vivizu
