// The borderless window's own frame: moving it by the caption strip and the
// two frame buttons.
#include "EditorTestSupport.h"

#include "chrome/FormShadow.h"
#include "widgets/Label.h"
#include "widgets/LinkLabel.h"
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
    QTest::mousePress(TEditorControls(Form).Label10, Qt::LeftButton, {}, QPoint(100, 50));
    QTest::mouseMove(TEditorControls(Form).Label10, QPoint(150, 80));
    EXPECT_EQ(Form.pos(), start + QPoint(50, 30));
    // The pointer stays on the grabbed spot: relative to the moved window it
    // is where it was pressed.
    QTest::mouseMove(TEditorControls(Form).Label10, QPoint(90, 60));
    EXPECT_EQ(Form.pos(), start + QPoint(40, 40));
    QTest::mouseRelease(TEditorControls(Form).Label10, Qt::LeftButton, {}, QPoint(100, 50));
    EXPECT_EQ(Form.pos(), start + QPoint(40, 40));

    // Moves after the release move nothing; a drag with the right button
    // moves the window as well.
    QTest::mouseMove(TEditorControls(Form).Label10, QPoint(10, 10));
    EXPECT_EQ(Form.pos(), start + QPoint(40, 40));
    QTest::mousePress(TEditorControls(Form).Label10, Qt::RightButton, {}, QPoint(100, 50));
    QTest::mouseMove(TEditorControls(Form).Label10, QPoint(200, 90));
    QTest::mouseRelease(TEditorControls(Form).Label10, Qt::RightButton, {}, QPoint(100, 50));
    EXPECT_EQ(Form.pos(), start + QPoint(140, 80));
    EXPECT_TRUE(Seams.Reports.empty());
}

TEST_F(WindowFrame, TitleAndLanguageLabelsOverTheStripDoNotMoveTheWindow) {
    const QPoint start = Form.pos();
    for (TLabel* label : {TEditorControls(Form).Label11, static_cast<TLabel*>(TEditorControls(Form).Label28)}) {
        QTest::mousePress(label, Qt::RightButton, {}, QPoint(5, 5));
        QTest::mouseMove(label, QPoint(60, 40));
        QTest::mouseRelease(label, Qt::RightButton, {}, QPoint(60, 40));
        EXPECT_EQ(Form.pos(), start);
    }
}

namespace {

// The shadow that follows the main window, or null once it is released.
TFormShadow* ShadowOf(const TFrmMP3Editor* window) {
    TFormShadow* shadow = window->Shadow();
    EXPECT_TRUE(shadow == nullptr || shadow->OwnerForm() == window);
    return shadow;
}

} // namespace

TEST_F(WindowFrame, RoundedOutlineAndShadowInItsColour) {
    EXPECT_FALSE(Form.mask().contains(QPoint(0, 0)));
    EXPECT_FALSE(Form.mask().contains(QPoint(591, 451)));
    EXPECT_TRUE(Form.mask().contains(QPoint(4, 1)));
    EXPECT_TRUE(Form.mask().contains(QPoint(1, 4)));
    TFormShadow* shadow = ShadowOf(&Form);
    ASSERT_NE(shadow, nullptr);
    EXPECT_EQ(shadow->ShadowColor(), QColor(74, 121, 161));
    EXPECT_TRUE(shadow->WindowShown());
    EXPECT_EQ(shadow->ShadowGeometry(), Form.geometry().adjusted(-16, -16, 16, 16));
}

TEST_F(WindowFrame, MinimiseButtonMinimisesAndCloseButtonCloses) {
    TFormShadow* shadow = ShadowOf(&Form);
    ASSERT_NE(shadow, nullptr);
    QTest::mouseClick(TEditorControls(Form).RzBmpButton2, Qt::LeftButton);
    EXPECT_TRUE(Form.windowState() & Qt::WindowMinimized);
    EXPECT_FALSE(shadow->WindowShown());
    Form.showNormal();
    EXPECT_TRUE(shadow->WindowShown());
    QTest::mouseClick(TEditorControls(Form).RzBmpButton1, Qt::LeftButton);
    EXPECT_FALSE(Form.isVisible());
    EXPECT_EQ(ShadowOf(&Form), nullptr);  // released on closing
    EXPECT_TRUE(Seams.Reports.empty());
}
