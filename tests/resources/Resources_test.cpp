// The window's pictures: present, at their design sizes, with a sharp
// double-size version, and packed into the program pixel for pixel; the
// marker bitmaps beside the program: 16 x 16, 24-bit, transparent by their
// bottom-left pixel and pointing down. The PNG files are compiled into this
// test (vivizu.qrc) as the reference the packed pictures are checked against.

#include "resources/ArtPack.h"
#include "resources/ArtRuns.h"
#include "resources/Resources.h"

#include <QFile>
#include <QDirIterator>
#include <QGuiApplication>
#include <QImage>
#include <QSize>
#include <QString>

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace vivizu {
namespace {

struct Picture {
    const char* name;
    int width;
    int height;
    bool opaque;  // drawn on nothing: every pixel must cover what lies below
};

// Every picture of the main window, with the size its control has.
constexpr Picture kPictures[] = {
    {"skin", 592, 452, true},              // window background, whole client area
    {"btn-open", 64, 64, false},           // Open button and its states
    {"btn-open-hover", 64, 64, false},
    {"btn-open-down", 64, 64, false},
    {"btn-saveas", 64, 64, false},         // Save As button, also disabled
    {"btn-saveas-hover", 64, 64, false},
    {"btn-saveas-down", 64, 64, false},
    {"btn-saveas-disabled", 64, 64, false},
    {"btn-about", 64, 64, false},          // About button
    {"btn-about-hover", 64, 64, false},
    {"btn-about-down", 64, 64, false},
    {"frame-minimize", 27, 20, false},     // minimise frame button
    {"frame-minimize-hover", 27, 20, false},
    {"frame-minimize-down", 27, 20, false},
    {"frame-close", 40, 20, false},        // close frame button
    {"frame-close-hover", 40, 20, true},
    {"frame-close-down", 40, 20, true},
    {"state-valid", 16, 16, false},        // bottom band: a valid file is loaded
    {"state-none", 16, 16, false},         // bottom band: no valid file
    {"thumb", 11, 20, false},              // position bar thumb
    {"thumb-disabled", 11, 20, false},
    {"wait-panel", 190, 50, false},        // wait panel background
    {"glyph-play", 24, 24, false},         // Play and Stop button glyphs
    {"glyph-play-disabled", 24, 24, false},
    {"glyph-stop", 24, 24, false},
    {"glyph-stop-disabled", 24, 24, false},
    {"dialog-skin", 340, 180, true},       // play-from dialog background
    {"marker-current", 16, 16, false},     // play-from dialog: current position
};

bool FullyOpaque(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 255) return false;
    return true;
}

TEST(Resources, EveryPictureHasItsSizeAndADoubleSizeVersion)
{
    for (const Picture& p : kPictures) {
        SCOPED_TRACE(p.name);
        const QString base = QStringLiteral(":/vivizu/") + QString::fromLatin1(p.name);
        const QImage normal(base + QStringLiteral(".png"));
        const QImage large(base + QStringLiteral("@2x.png"));
        ASSERT_FALSE(normal.isNull());
        ASSERT_FALSE(large.isNull());
        EXPECT_EQ(normal.size(), QSize(p.width, p.height));
        EXPECT_EQ(large.size(), QSize(2 * p.width, 2 * p.height));
        if (p.opaque) {
            EXPECT_TRUE(FullyOpaque(normal));
            EXPECT_TRUE(FullyOpaque(large));
        }
    }
}

TEST(Resources, ArtPixmapTakesTheDoubleSizeVersionOnlyAboveScaleOne)
{
    const QPixmap plain = ArtPixmap(QStringLiteral("skin"), 1.0);
    EXPECT_EQ(plain.size(), QSize(592, 452));
    EXPECT_EQ(plain.devicePixelRatio(), 1.0);

    for (qreal ratio : {1.5, 2.0, 3.0}) {
        const QPixmap sharp = ArtPixmap(QStringLiteral("skin"), ratio);
        EXPECT_EQ(sharp.size(), QSize(1184, 904));
        EXPECT_EQ(sharp.devicePixelRatio(), 2.0);
        EXPECT_EQ(sharp.deviceIndependentSize().toSize(), QSize(592, 452));
    }

    // The icon sizes have no double-size version: the plain one is used.
    const QPixmap icon = ArtPixmap(QStringLiteral("icon/vivizu-32"), 2.0);
    EXPECT_EQ(icon.size(), QSize(32, 32));
    EXPECT_EQ(icon.devicePixelRatio(), 1.0);
    EXPECT_TRUE(ArtPixmap(QStringLiteral("no-such-picture"), 2.0).isNull());
}

// The packed pictures the window starts with are the PNG pictures, pixel for
// pixel and in the same pixmap format, and none is missing.
TEST(Resources, PackedPicturesAreThePngPictures)
{
    int compared = 0;
    QDirIterator files(QStringLiteral(":/vivizu"), {QStringLiteral("*.png")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        QString name = path.mid(int(qstrlen(":/vivizu/")));
        name.chop(4);
        SCOPED_TRACE(name.toStdString());
        const TPackedPicture* packed = FindPackedPicture(name.toStdString());
        ASSERT_NE(packed, nullptr);
        const QImage fromPng = QPixmap(path).toImage();
        const QImage unpacked = QPixmap::fromImage(UnpackPicture(*packed)).toImage();
        EXPECT_EQ(unpacked.format(), fromPng.format());
        EXPECT_TRUE(unpacked == fromPng);
        ++compared;
    }
    EXPECT_GE(compared, 2 * int(std::size(kPictures)) + 7);
    EXPECT_EQ(FindPackedPicture("no-such-picture"), nullptr);
}

TEST(ArtRuns, PackedPixelsUnpackToThemselves)
{
    const std::vector<std::vector<std::uint32_t>> cases = {
        {},                                   // nothing
        {7},                                  // a single pixel
        {1, 1, 2, 2, 3},                      // pairs stay literal
        {5, 5, 5, 5, 5, 5, 5, 5},             // one repeat
        {1, 2, 9, 9, 9, 9, 3, 4, 4, 4, 0},    // literal, repeat, literal, repeat, literal
        {0x80000000u, 0x80000000u, 0x80000000u, 0xFFFFFFFFu},  // pixels like run heads
    };
    for (const auto& pixels : cases) {
        const std::vector<std::uint32_t> words = PackRuns(pixels.data(), pixels.size());
        std::vector<std::uint32_t> out(pixels.size(), 0xDEADBEEFu);
        EXPECT_TRUE(UnpackRuns(words.data(), words.size(), out.data(), out.size()));
        EXPECT_EQ(out, pixels);
    }
    const std::vector<std::uint32_t> flat(10000, 0xFFFFFFFFu);
    EXPECT_EQ(PackRuns(flat.data(), flat.size()).size(), 2u);
}

TEST(ArtRuns, RunsThatDoNotFitAreRefused)
{
    std::uint32_t out[4] = {};
    const std::uint32_t tooLong[] = {0x80000005u, 1};   // five pixels into four
    const std::uint32_t tooShort[] = {0x80000003u, 1};  // three pixels for four
    const std::uint32_t cutRepeat[] = {0x80000004u};    // repeat without its pixel
    const std::uint32_t cutLiteral[] = {4, 1, 2};       // four literals, two given
    EXPECT_FALSE(UnpackRuns(tooLong, std::size(tooLong), out, 4));
    EXPECT_FALSE(UnpackRuns(tooShort, std::size(tooShort), out, 4));
    EXPECT_FALSE(UnpackRuns(cutRepeat, std::size(cutRepeat), out, 4));
    EXPECT_FALSE(UnpackRuns(cutLiteral, std::size(cutLiteral), out, 4));
}

TEST(Resources, ApplicationIconComesInSquareSizes)
{
    const QIcon icon = AppIcon();
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        const QImage image(QStringLiteral(":/vivizu/icon/vivizu-%1.png").arg(size));
        EXPECT_EQ(image.size(), QSize(size, size)) << size;
        EXPECT_EQ(icon.actualSize(QSize(size, size)), QSize(size, size)) << size;
    }
    EXPECT_EQ(icon.availableSizes().size(), 7);
}

std::uint32_t Le32(const QByteArray& bytes, int at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<std::uint8_t>(bytes[at + i]);
    return value;
}

TEST(Resources, MarkerBitmapsAreKeyedOnTheirBottomLeftPixelAndPointDown)
{
    for (const char* name : {"MarkStart", "MarkEnd", "MarkStartD", "MarkEndD"}) {
        SCOPED_TRACE(name);
        const QString path = QStringLiteral(VIVIZU_PROGRAM_DIR) + QString::fromLatin1(name) +
                             QStringLiteral(".bmp");
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        const QByteArray bytes = file.readAll();
        ASSERT_GE(bytes.size(), 54);
        EXPECT_EQ(bytes.left(2), QByteArray("BM"));
        EXPECT_EQ(Le32(bytes, 18), 16u);                       // width
        EXPECT_EQ(Le32(bytes, 22), 16u);                       // height, rows bottom-up
        EXPECT_EQ(static_cast<std::uint8_t>(bytes[28]), 24);   // bits per pixel
        EXPECT_EQ(Le32(bytes, 30), 0u);                        // uncompressed

        const QImage image(path);
        ASSERT_EQ(image.size(), QSize(16, 16));
        const QRgb key = image.pixel(0, 15);
        EXPECT_EQ(key, qRgb(255, 0, 255));
        // The corners are see-through; the tip in the middle of the bottom row is not.
        EXPECT_EQ(image.pixel(15, 15), key);
        EXPECT_EQ(image.pixel(0, 0), key);
        EXPECT_NE(image.pixel(7, 15), key);
        EXPECT_NE(image.pixel(8, 15), key);
        EXPECT_NE(image.pixel(8, 5), key);
    }
}

}  // namespace
}  // namespace vivizu

int main(int argc, char** argv)
{
    // Test discovery runs this program outside CTest's environment.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
