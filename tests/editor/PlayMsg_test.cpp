// The play-from dialog shown for real (modal loop and all): its shape, the
// choice it remembers, and every way of ending it.
#include "EditorTestSupport.h"

#include "chrome/FormShadow.h"
#include "editor/UnitPlayMsg.h"
#include "widgets/GlyphButton.h"
#include "widgets/Image.h"
#include "widgets/PictureButton.h"
#include "widgets/RadioButton.h"

#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

using namespace vivizu;
using namespace vivizu::test;

namespace {

class PlayMsg : public ::testing::Test {
protected:
    TDialogSeams Seams;
    TFrmMP3Editor Owner;

    TFrmPlayMsg* Dialog() const {
        return Owner.findChild<TFrmPlayMsg*>(QString(), Qt::FindDirectChildrenOnly);
    }

    // Shows the dialog and, once it is up, lets `act` answer it.
    int Show(std::function<void(TFrmPlayMsg&)> act) {
        bool acted = false;
        QTimer::singleShot(0, &Owner, [&] {
            TFrmPlayMsg* dialog = Dialog();
            if (dialog && dialog->isVisible()) {
                act(*dialog);
                acted = true;
            }
        });
        const int choice = ShowPlayMsg(&Owner);
        EXPECT_TRUE(acted);
        EXPECT_FALSE(Dialog()->isVisible());
        return choice;
    }
};

TEST_F(PlayMsg, IsMadeOnceWithItsDesignAndRemembersTheLastChoice) {
    Owner.show();
    const int first = Show([](TFrmPlayMsg& d) {
        // Three rows as they always were, the result's row below them.
        EXPECT_EQ(d.size(), QSize(340, 204));
        EXPECT_TRUE(d.isModal());
        EXPECT_EQ(d.geometry().center(), d.parentWidget()->geometry().center());
        EXPECT_TRUE(d.RadioButton1->Checked());
        EXPECT_EQ(d.RadioButton1->Caption(), "Play from Start Tag");
        EXPECT_EQ(d.RadioButton1->geometry(), QRect(92, 52, 241, 17));
        EXPECT_EQ(d.RadioButton3->geometry(), QRect(92, 100, 241, 17));
        EXPECT_EQ(d.RadioButton4->geometry(), QRect(92, 124, 241, 17));
        EXPECT_EQ(d.RadioButton4->Caption(), "Play the result");
        EXPECT_LT(d.RadioButton4->geometry().bottom(), d.BtnOk->geometry().top());
        EXPECT_FALSE(d.Image1->Picture().isNull()); // the marker bitmaps
        EXPECT_FALSE(d.Image2->Picture().isNull());
        EXPECT_FALSE(d.Image3->Picture().isNull());
        // Rounded outline and a shadow in the windows' colour.
        EXPECT_FALSE(d.mask().contains(QPoint(0, 0)));
        EXPECT_FALSE(d.mask().contains(QPoint(339, 203)));
        EXPECT_TRUE(d.mask().contains(QPoint(4, 1)));
        ASSERT_NE(d.Shadow(), nullptr);
        EXPECT_EQ(d.Shadow()->OwnerForm(), &d);
        EXPECT_EQ(d.Shadow()->ShadowColor(), QColor(74, 121, 161));
        QTest::keyClick(&d, Qt::Key_Return);
    });
    EXPECT_EQ(first, 0);

    EXPECT_EQ(Show([](TFrmPlayMsg& d) {
                  d.RadioButton3->click();
                  d.BtnOk->click();
              }),
              2);
    // Reopens with the last choice; Enter takes it.
    EXPECT_EQ(Show([](TFrmPlayMsg& d) {
                  EXPECT_TRUE(d.RadioButton3->Checked());
                  QTest::keyClick(d.RadioButton3, Qt::Key_Enter);
              }),
              2);
    // The result's row is one choice among the four.
    EXPECT_EQ(Show([](TFrmPlayMsg& d) {
                  d.RadioButton4->click();
                  EXPECT_FALSE(d.RadioButton3->Checked());
                  QTest::keyClick(d.RadioButton4, Qt::Key_Return);
              }),
              3);
    EXPECT_EQ(Show([](TFrmPlayMsg& d) {
                  EXPECT_TRUE(d.RadioButton4->Checked());
                  EXPECT_EQ(d.focusWidget(), d.RadioButton4);
                  d.BtnOk->click();
              }),
              3);
    EXPECT_EQ(Owner.findChildren<TFrmPlayMsg*>().size(), 1);
}

TEST_F(PlayMsg, CancelEscapeTheClosePictureAndTheWindowManagerAllGiveMinusOne) {
    const std::function<void(TFrmPlayMsg&)> endings[] = {
        [](TFrmPlayMsg& d) { d.BtnCancel->click(); },
        [](TFrmPlayMsg& d) { QTest::keyClick(d.RadioButton2, Qt::Key_Escape); },
        [](TFrmPlayMsg& d) { d.BtnSysClose->click(); },
        [](TFrmPlayMsg& d) { d.close(); },
        // Enter on the focused Cancel button presses Cancel, not OK.
        [](TFrmPlayMsg& d) {
            d.BtnCancel->setFocus();
            QTest::keyClick(d.BtnCancel, Qt::Key_Return);
        },
    };
    for (size_t i = 0; i < std::size(endings); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Show([&](TFrmPlayMsg& d) {
                      d.RadioButton2->click();
                      endings[i](d);
                  }),
                  -1);
    }
    // A cancelled showing still keeps the radio button last checked.
    EXPECT_TRUE(Dialog()->RadioButton2->Checked());
    EXPECT_TRUE(Seams.Reports.empty());
}

} // namespace
