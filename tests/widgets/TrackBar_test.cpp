// The track bar: position changes by program, keyboard and mouse, and the
// Change() signal that follows them.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>

#include "widgets/TrackBar.h"

using vivizu::TTrackBar;

namespace {

class TrackBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    bar.SetBounds(0, 0, 217, 20);  // 200 pixels of track between the offsets
    bar.SetMin(0);
    bar.SetMax(1000);
    bar.SetLineSize(10);
    bar.SetPageSize(100);
    bar.show();
    bar.setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
  }
  TTrackBar bar;
};

TEST_F(TrackBarTest, MapsPositionsOntoTheTrack) {
  EXPECT_EQ(bar.PositionToX(0), 8);
  EXPECT_EQ(bar.PositionToX(1000), 217 - 8 - 1);
  EXPECT_EQ(bar.XToPosition(8), 0);
  EXPECT_EQ(bar.XToPosition(0), 0);     // left of the track: Min
  EXPECT_EQ(bar.XToPosition(500), 1000);  // right of it: Max
  EXPECT_EQ(bar.XToPosition(bar.PositionToX(400)), 400);
  // A range bigger than the pixels does not overflow.
  bar.SetMax(2'000'000'000);
  EXPECT_EQ(bar.XToPosition(208), 2'000'000'000);
  EXPECT_EQ(bar.PositionToX(1'000'000'000), 8 + 100);
}

TEST_F(TrackBarTest, ChangeFollowsEveryChangeOfPosition) {
  QSignalSpy change(&bar, &TTrackBar::Change);
  bar.SetPosition(250);
  EXPECT_EQ(change.count(), 1);
  bar.SetPosition(250);
  EXPECT_EQ(change.count(), 1);
  bar.SetPosition(5000);  // clamped to Max
  EXPECT_EQ(bar.Position(), 1000);
  EXPECT_EQ(change.count(), 2);
  bar.SetMax(500);  // a smaller range pulls the position in
  EXPECT_EQ(bar.Position(), 500);
  EXPECT_EQ(change.count(), 3);
}

TEST_F(TrackBarTest, KeysMoveByLineAndPage) {
  QSignalSpy change(&bar, &TTrackBar::Change);
  bar.SetPosition(500);
  QTest::keyClick(&bar, Qt::Key_Right);
  EXPECT_EQ(bar.Position(), 510);
  QTest::keyClick(&bar, Qt::Key_Up);
  QTest::keyClick(&bar, Qt::Key_Left);
  EXPECT_EQ(bar.Position(), 490);
  QTest::keyClick(&bar, Qt::Key_PageDown);
  EXPECT_EQ(bar.Position(), 590);
  QTest::keyClick(&bar, Qt::Key_PageUp);
  QTest::keyClick(&bar, Qt::Key_PageUp);
  EXPECT_EQ(bar.Position(), 390);
  QTest::keyClick(&bar, Qt::Key_End);
  EXPECT_EQ(bar.Position(), 1000);
  QTest::keyClick(&bar, Qt::Key_Right);  // stays at Max, no change
  QTest::keyClick(&bar, Qt::Key_Home);
  EXPECT_EQ(bar.Position(), 0);
  EXPECT_EQ(change.count(), 9);
}

TEST_F(TrackBarTest, MouseDragsTheThumbAndPagesBesideIt) {
  bar.SetPosition(500);
  const int thumbX = bar.PositionToX(500);

  // Grabbing the thumb one pixel right of its centre keeps that offset.
  QTest::mousePress(&bar, Qt::LeftButton, {}, QPoint(thumbX + 1, 10));
  QTest::mouseMove(&bar, QPoint(thumbX + 1 + 40, 10));
  EXPECT_EQ(bar.Position(), 700);
  QTest::mouseMove(&bar, QPoint(400, 10));  // beyond the end: Max
  EXPECT_EQ(bar.Position(), 1000);
  QTest::mouseRelease(&bar, Qt::LeftButton, {}, QPoint(thumbX + 1 - 20, 3));
  EXPECT_EQ(bar.Position(), 400);

  // A click left of the thumb moves one page left.
  QTest::mouseClick(&bar, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(bar.Position(), 300);
  // Moves without a press on the thumb change nothing.
  QTest::mouseMove(&bar, QPoint(150, 10));
  EXPECT_EQ(bar.Position(), 300);
}

}  // namespace
