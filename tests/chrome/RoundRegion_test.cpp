// The rounded outline, pixel row by pixel row, for the three window sizes.
#include "chrome/RoundRegion.h"

#include <QWidget>
#include <gtest/gtest.h>
#include <utility>

using namespace vivizu;

namespace {

// The half-open x range row y of a W x H window's outline must cover
// (empty: from == to).
std::pair<int, int> ExpectedRow(int w, int h, int y) {
    if (y == 0 || y == h - 1)
        return {0, 0};
    if (y == 1 || y == h - 2)
        return {4, w - 4};
    if (y <= 3 || y >= h - 4)
        return {2, w - 2};
    return {1, w - 1};
}

} // namespace

TEST(RoundRegion, EveryRowOfTheThreeWindowsIsExact) {
    for (const auto& [w, h] : {std::pair{592, 452}, std::pair{418, 283}, std::pair{340, 180}}) {
        const QRegion region = RoundRegion(QRect(0, 0, w, h));
        EXPECT_EQ(region.boundingRect(), QRect(1, 1, w - 2, h - 2)) << w << "x" << h;
        for (int y = -1; y <= h; ++y) {
            const auto [from, to] = ExpectedRow(w, h, y < 0 || y >= h ? 0 : y);
            for (int x = -1; x <= w; ++x) {
                const bool inside = x >= from && x < to && y >= 0 && y < h;
                ASSERT_EQ(region.contains(QPoint(x, y)), inside)
                    << w << "x" << h << " at (" << x << ", " << y << ")";
            }
        }
    }
}

TEST(RoundRegion, AppliedAsTheWindowsMaskAndFollowsTheBoundsOrigin) {
    QWidget window;
    window.resize(340, 180);
    ApplyRoundRegion(window, QRect(0, 0, 340, 180));
    EXPECT_EQ(window.mask(), RoundRegion(QRect(0, 0, 340, 180)));
    EXPECT_FALSE(window.mask().contains(QPoint(0, 0)));
    EXPECT_FALSE(window.mask().contains(QPoint(1, 1)));
    EXPECT_TRUE(window.mask().contains(QPoint(4, 1)));

    EXPECT_EQ(RoundRegion(QRect(10, 20, 100, 50)), RoundRegion(QRect(0, 0, 100, 50)).translated(10, 20));
    // Too small to hold anything.
    EXPECT_TRUE(RoundRegion(QRect(0, 0, 2, 2)).isEmpty());
}
