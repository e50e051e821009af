// The borderless window's own frame: moving it by the caption strip and the
// two frame buttons.
#include "EditorTestSupport.h"

#include "widgets/Label.h"
#include "widgets/PictureButton.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace vivizu;
using namespace vivizu::test;

namespace {

class WindowFrame : public ::testing::Test {
protected:
    void SetUp() override {
        Form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form));
    }
    TDialogSeams Seams;
    TFrmMP3Editor Form;
};

} // namespace

// Qt's offscreen platform, like a bare X server, refuses a system move.
TEST_F(WindowFrame, CaptionStripMovesTheWindowByHandWhileTheButtonIsHeld) {
    const QPoint start = Form.pos();
    QTest::mousePress(Form.Label10, Qt::LeftButton, {}, QPoint(100, 50));
    QTest::mouseMove(Form.Label10, QPoint(150, 80));
    EXPECT_EQ(Form.pos(), start + QPoint(50, 30));
    // The pointer stays on the grabbed spot: relative to the moved window it
    // is where it was pressed.
    QTest::mouseMove(Form.Label10, QPoint(90, 60));
    EXPECT_EQ(Form.pos(), start + QPoint(40, 40));
    QTest::mouseRelease(Form.Label10, Qt::LeftButton, {}, QPoint(100, 50));
    EXPECT_EQ(Form.pos(), start + QPoint(40, 40));

    // Moves after the release, and drags with another button, move nothing.
    QTest::mouseMove(Form.Label10, QPoint(10, 10));
    QTest::mousePress(Form.Label10, Qt::RightButton, {}, QPoint(100, 50));
    QTest::mouseMove(Form.Label10, QPoint(200, 90));
    QTest::mouseRelease(Form.Label10, Qt::RightButton, {}, QPoint(200, 90));
    EXPECT_EQ(Form.pos(), start + QPoint(40, 40));
    EXPECT_TRUE(Seams.Reports.empty());
}

TEST_F(WindowFrame, MinimiseButtonMinimisesAndCloseButtonCloses) {
    QTest::mouseClick(Form.RzBmpButton2, Qt::LeftButton);
    EXPECT_TRUE(Form.windowState() & Qt::WindowMinimized);
    Form.showNormal();
    QTest::mouseClick(Form.RzBmpButton1, Qt::LeftButton);
    EXPECT_FALSE(Form.isVisible());
    EXPECT_EQ(Form.Mp3(), nullptr);
    EXPECT_TRUE(Seams.Reports.empty());
}
