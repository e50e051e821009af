// The image control: mouse events through the window system path (so Qt's
// grab decides who gets them), transparency of bitmaps, loading from files.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <stdexcept>

#include "WidgetsTestSupport.h"
#include "widgets/Image.h"

using vivizu::TImage;

namespace {

class ImageMouseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.resize(300, 200);
    image = new TImage(&window);
    image->SetBounds(50, 60, 16, 16);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    handle = window.windowHandle();
  }
  void TearDown() override {
    // Leave no button held for the next test.
    QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(1, 1));
    QTest::mouseRelease(handle, Qt::RightButton, {}, QPoint(1, 1));
  }

  QWidget window;
  TImage* image = nullptr;
  QWindow* handle = nullptr;
};

TEST_F(ImageMouseTest, PressMoveAndReleaseAreReportedInTheImagesCoordinates) {
  QSignalSpy down(image, &TImage::MouseDown);
  QSignalSpy move(image, &TImage::MouseMove);
  QSignalSpy up(image, &TImage::MouseUp);
  QSignalSpy click(image, &TImage::Click);

  QTest::mousePress(handle, Qt::LeftButton, Qt::ShiftModifier, QPoint(55, 63));
  ASSERT_EQ(down.count(), 1);
  EXPECT_EQ(down[0][0].value<Qt::MouseButton>(), Qt::LeftButton);
  EXPECT_EQ(down[0][1].value<Qt::KeyboardModifiers>(), Qt::ShiftModifier);
  EXPECT_EQ(down[0][2].toInt(), 5);
  EXPECT_EQ(down[0][3].toInt(), 3);
  move.clear();  // the pointer's arrival at the press point is reported too

  // Far outside the image, the moves and the release still come to it,
  // in its own coordinates (negative ones too).
  QTest::mouseMove(handle, QPoint(250, 150));
  QTest::mouseMove(handle, QPoint(10, 20));
  ASSERT_EQ(move.count(), 2);
  EXPECT_EQ(move[0][1].toInt(), 200);
  EXPECT_EQ(move[0][2].toInt(), 90);
  EXPECT_EQ(move[1][1].toInt(), -40);
  EXPECT_EQ(move[1][2].toInt(), -40);

  QTest::mouseRelease(handle, Qt::LeftButton, Qt::NoModifier, QPoint(290, 5));
  ASSERT_EQ(up.count(), 1);
  EXPECT_EQ(up[0][0].value<Qt::MouseButton>(), Qt::LeftButton);
  EXPECT_EQ(up[0][2].toInt(), 240);
  EXPECT_EQ(up[0][3].toInt(), -55);
  EXPECT_EQ(click.count(), 0);  // released outside: no click

  // After the release the image no longer gets moves outside itself.
  const auto movesBefore = move.count();
  QTest::mouseMove(handle, QPoint(200, 100));
  EXPECT_EQ(move.count(), movesBefore);
}

TEST_F(ImageMouseTest, ReportsOtherButtonsAndClicks) {
  QSignalSpy down(image, &TImage::MouseDown);
  QSignalSpy up(image, &TImage::MouseUp);
  QSignalSpy click(image, &TImage::Click);

  QTest::mousePress(handle, Qt::RightButton, {}, QPoint(52, 62));
  QTest::mouseRelease(handle, Qt::RightButton, {}, QPoint(52, 62));
  ASSERT_EQ(down.count(), 1);
  EXPECT_EQ(down[0][0].value<Qt::MouseButton>(), Qt::RightButton);
  ASSERT_EQ(up.count(), 1);
  EXPECT_EQ(up[0][0].value<Qt::MouseButton>(), Qt::RightButton);
  EXPECT_EQ(click.count(), 0);

  QTest::mouseClick(handle, Qt::LeftButton, {}, QPoint(60, 70));
  EXPECT_EQ(click.count(), 1);
}

TEST_F(ImageMouseTest, ADisabledImageReportsNothing) {
  QSignalSpy down(image, &TImage::MouseDown);
  image->SetEnabled(false);
  QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(55, 65));
  EXPECT_EQ(down.count(), 0);
}

QImage Bitmap(QColor fill, QColor corner) {
  QImage image(4, 4, QImage::Format_RGB32);
  image.fill(fill);
  image.setPixelColor(0, 3, corner);  // bottom-left
  image.setPixelColor(2, 2, corner);
  return image;
}

TEST(Image, TransparentBitmapsLoseTheirBottomLeftColour) {
  TImage image;
  image.SetPicture(QPixmap::fromImage(Bitmap(Qt::red, Qt::green)));
  EXPECT_EQ(image.DrawnPicture().toImage().pixelColor(2, 2).alpha(), 255);

  image.SetTransparent(true);
  const QImage drawn = image.DrawnPicture().toImage();
  EXPECT_EQ(drawn.pixelColor(0, 3).alpha(), 0);
  EXPECT_EQ(drawn.pixelColor(2, 2).alpha(), 0);
  EXPECT_EQ(drawn.pixelColor(1, 1), QColor(Qt::red));

  // A picture with its own alpha channel is drawn as it is.
  QImage withAlpha(4, 4, QImage::Format_ARGB32);
  withAlpha.fill(QColor(0, 0, 255, 200));
  image.SetPicture(QPixmap::fromImage(withAlpha));
  EXPECT_EQ(image.DrawnPicture().toImage().pixelColor(0, 3).alpha(), 200);
}

// A 2x picture of fine stripes on a 1.5x screen: scaled down smoothly, so
// its stripes blend instead of some vanishing; a 1x picture there keeps its
// hard pixels. The see-through colour stays see-through.
TEST(Image, ADoubleScaledDownIsSmoothAndAPlainPictureStaysSharp) {
  const auto rendered = [](const QImage& picture, qreal pictureRatio) {
    TImage image;
    QPixmap pixmap = QPixmap::fromImage(picture);
    pixmap.setDevicePixelRatio(pictureRatio);
    image.SetPicture(pixmap);
    image.SetTransparent(true);
    image.resize(16, 16);
    QImage target(24, 24, QImage::Format_ARGB32_Premultiplied);
    target.setDevicePixelRatio(1.5);
    target.fill(Qt::transparent);
    image.render(&target, QPoint(), QRegion(), QWidget::DrawChildren);
    return target;
  };
  const auto isGrey = [](QColor c) { return c.alpha() == 255 && c.red() > 40 && c.red() < 215; };

  QImage stripes(32, 32, QImage::Format_RGB32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) stripes.setPixelColor(x, y, x % 2 ? Qt::white : Qt::black);
  for (int y = 24; y < 32; ++y)
    for (int x = 0; x < 8; ++x) stripes.setPixelColor(x, y, Qt::green);  // the see-through corner
  const QImage fine = rendered(stripes, 2.0);
  int grey = 0;
  for (int x = 8; x < 24; ++x) grey += isGrey(fine.pixelColor(x, 4));
  EXPECT_GE(grey, 8) << "scaled down with smoothing";
  EXPECT_EQ(fine.pixelColor(1, 22).alpha(), 0);
  EXPECT_EQ(fine.pixelColor(1, 22).green(), 0);

  const QImage plain = rendered(stripes.copy(0, 0, 16, 16), 1.0);
  for (int x = 0; x < 24; ++x) EXPECT_FALSE(isGrey(plain.pixelColor(x, 4))) << x;
}

TEST(Image, LoadFromFileReportsUnreadableAndInvalidFiles) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  TImage image;

  const QString bmp = dir.filePath(QStringLiteral("Mark.bmp"));
  ASSERT_TRUE(Bitmap(Qt::red, Qt::green).save(bmp, "BMP"));
  image.LoadFromFile(bmp);
  EXPECT_EQ(image.Picture().size(), QSize(4, 4));

  const QString missing = dir.filePath(QStringLiteral("Missing.bmp"));
  try {
    image.LoadFromFile(missing);
    FAIL() << "no exception";
  } catch (const std::runtime_error& e) {
    const QString text = QString::fromUtf8(e.what());
    EXPECT_TRUE(text.startsWith(QStringLiteral("Cannot open file \"%1\". ").arg(missing))) << e.what();
    EXPECT_GT(text.size(), QStringLiteral("Cannot open file \"%1\". ").arg(missing).size());
  }

  const QString junk = dir.filePath(QStringLiteral("Junk.bmp"));
  QFile file(junk);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("not a picture");
  file.close();
  try {
    image.LoadFromFile(junk);
    FAIL() << "no exception";
  } catch (const std::runtime_error& e) {
    EXPECT_STREQ(e.what(), "Bitmap image is not valid");
  }
  EXPECT_EQ(image.Picture().size(), QSize(4, 4));  // the old picture stays
}

}  // namespace
