// The shadow's pixels: the blur's figures, the transparent silhouette and
// the colour premultiplied by alpha.
#include "chrome/RoundRegion.h"
#include "chrome/ShadowImage.h"

#include <gtest/gtest.h>
#include <vector>

using namespace vivizu;

namespace {

int Alpha(const QImage& image, int x, int y) { return qAlpha(image.pixel(x, y)); }

QImage Shadow(const QSize& owner, const QRegion& outline, const QColor& colour) {
    QImage image;
    DrawShadowIntensity(image, owner, outline);
    ColourShadow(image, colour, true);
    return image;
}

} // namespace

TEST(ShadowImage, AlphaTableIsTruncatedProduct) {
    const TAlphaTable& t = AlphaTable();
    EXPECT_EQ(t[255][255], 255);
    EXPECT_EQ(t[0][200], 0);
    EXPECT_EQ(t[161][100], 161 * 100 / 255);  // 63.1 -> 63
    EXPECT_EQ(t[128][254], 127);              // 127.5 -> 127: truncated, not rounded
    EXPECT_EQ(&t, &AlphaTable());
}

TEST(ShadowImage, BlurWorksInPlaceWithClampedSamples) {
    // One white pixel in a black 5 x 5 image, d = 1.
    QImage image(5, 5, QImage::Format_ARGB32_Premultiplied);
    image.fill(0xFF000000u);
    image.setPixel(2, 2, 0xFFFFFFFFu);
    BlurPass(image, 1);
    auto blue = [&](int x, int y) { return qBlue(image.pixel(x, y)); };
    // Row 1 reads rows 0 and 2 before they change: 255 / 4.
    EXPECT_EQ(blue(1, 1), 63);
    EXPECT_EQ(blue(3, 1), 63);
    EXPECT_EQ(blue(2, 1), 0);
    // Row 2 reads row 1 as already blurred: the white pixel's own place
    // gets (63 + 63) / 4, its neighbours (0 + 63) / 4.
    EXPECT_EQ(blue(2, 2), 31);
    EXPECT_EQ(blue(0, 2), 15);
    EXPECT_EQ(blue(1, 2), 0);
    // Row 3 again reads the blurred row 2: the glow is carried downwards.
    EXPECT_EQ(blue(1, 3), (15 + 31) >> 2);
    // Alpha, red and green: alpha untouched, colours blurred alike.
    EXPECT_EQ(qAlpha(image.pixel(1, 1)), 255);
    EXPECT_EQ(qRed(image.pixel(1, 1)), 63);
    EXPECT_EQ(qGreen(image.pixel(1, 1)), 63);

    // Clamping at the top row: a white top-left corner spreads into row 0.
    QImage corner(3, 3, QImage::Format_ARGB32_Premultiplied);
    corner.fill(0xFF000000u);
    corner.setPixel(0, 0, 0xFFFFFFFFu);
    BlurPass(corner, 1);
    // (0, 0) samples itself (still white), (1, 0), (0, 1) and (1, 1); then
    // (1, 0) samples the (0, 0) just written.
    EXPECT_EQ(qBlue(corner.pixel(0, 0)), 63);
    EXPECT_EQ(qBlue(corner.pixel(1, 0)), 15);
}

TEST(ShadowImage, PlainRectangleOwnerGivesTheKnownFalloff) {
    const QImage image = Shadow(QSize(120, 80), QRegion(), QColor(255, 255, 255));
    ASSERT_EQ(image.size(), QSize(152, 112));
    const int mid = 16 + 60;
    // The six rows above the top edge, outside in; nothing further up.
    const std::vector<int> above{31, 47, 71, 99, 121, 140};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(Alpha(image, mid, 10 + i), above[static_cast<size_t>(i)]) << "row " << 10 + i;
    for (int y = 0; y < 10; ++y)
        EXPECT_EQ(Alpha(image, mid, y), 0) << "row " << y;
    // The first rows below the bottom edge, inside out.
    const std::vector<int> below{91, 76, 63, 51, 41};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Alpha(image, mid, 96 + i), below[static_cast<size_t>(i)]) << "row " << 96 + i;
    EXPECT_GT(Alpha(image, mid, 111), 0);
    // Under the owner: fully transparent.
    for (int y = 16; y < 96; ++y)
        EXPECT_EQ(Alpha(image, mid, y), 0);
}

TEST(ShadowImage, RoundedOwnerIsTransparentInsideItsOutlineOnly) {
    const QRegion outline = RoundRegion(QRect(0, 0, 592, 452));
    const QImage image = Shadow(QSize(592, 452), outline, ColourFromCode(10582346));
    ASSERT_EQ(image.size(), QSize(624, 484));
    int inside = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (outline.contains(QPoint(x - 16, y - 16))) {
                ASSERT_EQ(Alpha(image, x, y), 0) << x << ", " << y;
                ++inside;
            }
            // More than 6 rows above the outline's top row (image row 17).
            if (y < 17 - 6) {
                ASSERT_EQ(Alpha(image, x, y), 0) << x << ", " << y;
            }
        }
    }
    EXPECT_EQ(inside, [&] { int n = 0; for (const QRect& r : outline) n += r.width() * r.height(); return n; }());
    // The window's own top row and corner lie outside the outline: glow.
    EXPECT_GT(Alpha(image, 16 + 296, 16), 0);
    EXPECT_GT(Alpha(image, 16, 16), 0);
    // Along the middle: falling off outwards, still there in the last row.
    const int mid = 16 + 296;
    for (int y = 16 + 452; y < 483; ++y)
        EXPECT_GE(Alpha(image, mid, y), Alpha(image, mid, y + 1)) << y;
    EXPECT_GT(Alpha(image, mid, 483), 0);
}

TEST(ShadowImage, ColourIsPremultipliedAndRecolouringKeepsAlpha) {
    QImage image = Shadow(QSize(120, 80), QRegion(), ColourFromCode(10582346));
    int checked = 0;
    for (int y = 0; y < image.height(); ++y) {
        const QRgb p = image.pixel(76, y);
        const int a = qAlpha(p);
        EXPECT_EQ(qBlue(p), 161 * a / 255);
        EXPECT_EQ(qGreen(p), 121 * a / 255);
        EXPECT_EQ(qRed(p), 74 * a / 255);
        checked += a > 0;
    }
    EXPECT_GT(checked, 10);
    const int before = Alpha(image, 76, 12);
    ColourShadow(image, QColor(255, 0, 0), false);
    EXPECT_EQ(Alpha(image, 76, 12), before);
    EXPECT_EQ(qRed(image.pixel(76, 12)), before);
    EXPECT_EQ(qBlue(image.pixel(76, 12)), 0);
}

TEST(ShadowImage, ColourCodesAreBlueGreenRed) {
    EXPECT_EQ(ColourFromCode(10582346), QColor(74, 121, 161));
    EXPECT_EQ(ColourFromCode(0x0000FF), QColor(255, 0, 0));
    EXPECT_TRUE(ColourFromCode(0x80000008).isValid());  // window text
    EXPECT_EQ(ColourFromCode(0x12345678), QColor(Qt::black));
}
