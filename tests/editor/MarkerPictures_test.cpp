// The markers' doubles for scaled screens: each is its 16 x 16 picture drawn
// again at 32 x 32 from the same shapes, with the see-through colour in the
// bottom-left corner as the window takes it, and the pin's tip in the same
// column.
#include "platform/ProgramFolder.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

QImage Picture(const char* name) {
    return QImage(QString::fromStdString(vivizu::ProgramFolder()) + QLatin1String(name));
}

TEST(MarkerPictures, EachHasASharpDoubleOfTheSameShape) {
    for (const char* name : {"MarkStart", "MarkEnd", "MarkStartD", "MarkEndD"}) {
        SCOPED_TRACE(name);
        const QImage plain = Picture((std::string(name) + ".bmp").c_str());
        const QImage sharp = Picture((std::string(name) + "@2x.bmp").c_str());
        ASSERT_EQ(plain.size(), QSize(16, 16));
        ASSERT_EQ(sharp.size(), QSize(32, 32));
        const QRgb key = plain.pixel(0, 15);
        EXPECT_EQ(sharp.pixel(0, 31), key);
        // Not a doubled bitmap: some 2 x 2 block of the double is not one
        // colour.
        bool finer = false;
        for (int y = 0; y < 32 && !finer; y += 2)
            for (int x = 0; x < 32 && !finer; x += 2)
                finer = sharp.pixel(x, y) != sharp.pixel(x + 1, y) || sharp.pixel(x, y) != sharp.pixel(x, y + 1);
        EXPECT_TRUE(finer);
        // Where the plain picture is see-through, so is the middle of the
        // double's block, and the same for the pin (the tip column 8 / 16).
        int differ = 0;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                differ += (plain.pixel(x, y) == key) != (sharp.pixel(2 * x + 1, 2 * y + 1) == key);
        EXPECT_LE(differ, 24) << "the double's outline strays from the picture's";
        EXPECT_NE(sharp.pixel(16, 28), key);
    }
}

} // namespace
