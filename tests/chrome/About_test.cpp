// The About window: its components, closing by Enter and by the close
// picture, the caption strip, the links and being centred on its owner.
#include "chrome/FormShadow.h"
#include "chrome/UnitAbout.h"
#include "widgets/GlyphButton.h"
#include "widgets/Label.h"
#include "widgets/PictureButton.h"
#include "widgets/URLLabel.h"

#include <QApplication>
#include <QDesktopServices>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <gtest/gtest.h>

using namespace vivizu;

namespace {

// Runs action on the About window once it shows modally (ShowModal does
// not return before the window closes).
void WhenShown(std::function<void(TFrmAbout&)> action) {
    QTimer::singleShot(0, [action] {
        auto* about = qobject_cast<TFrmAbout*>(QApplication::activeModalWidget());
        ASSERT_NE(about, nullptr);
        action(*about);
    });
}

// Receives the addresses the desktop would open.
class TUrlCatcher : public QObject {
    Q_OBJECT
public:
    TUrlCatcher() {
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "Open");
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), this, "Open");
    }
    ~TUrlCatcher() override {
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
    }
    QList<QUrl> Opened;
public slots:
    void Open(const QUrl& url) { Opened.append(url); }
};

} // namespace

TEST(About, BuiltInTextsOutlineAndShadow) {
    TFrmAbout about;
    EXPECT_EQ(about.objectName(), QStringLiteral("FrmAbout"));
    EXPECT_EQ(about.size(), QSize(418, 283));
    EXPECT_EQ(about.RzLabel1->Caption(), QStringLiteral("Vivizu"));
    EXPECT_EQ(about.RzLabel2->Caption(), QString());
    EXPECT_EQ(about.RzURLLabel1->Caption(), QStringLiteral(" ") + HomepageAddress());
    EXPECT_EQ(about.RzURLLabel2->Caption(), QStringLiteral(" ") + EmailAddress());
    EXPECT_TRUE(about.Label1->Caption().contains(QStringLiteral("2026 the Vivizu authors")));
    // The caption strip lies over the titles, the close picture over the strip.
    const QObjectList children = about.children();
    EXPECT_LT(children.indexOf(about.RzLabel1), children.indexOf(about.Label10));
    EXPECT_LT(children.indexOf(about.Label10), children.indexOf(about.BtnSysClose));
    EXPECT_FALSE(about.mask().contains(QPoint(0, 0)));
    EXPECT_TRUE(about.mask().contains(QPoint(209, 140)));
    ASSERT_NE(about.Shadow(), nullptr);
    EXPECT_EQ(about.Shadow()->OwnerForm(), &about);
    EXPECT_EQ(about.Shadow()->ShadowColor(), QColor(74, 121, 161));
}

TEST(About, EnterClosesThroughOkTheClosePictureAndEscapeWithout) {
    QWidget owner;
    owner.setGeometry(200, 150, 592, 452);
    owner.show();
    {
        TFrmAbout about;
        QRect shownAt;
        bool shadowShown = false;
        WhenShown([&](TFrmAbout& shown) {
            shownAt = shown.geometry();
            shadowShown = shown.Shadow()->WindowShown();
            QTest::keyClick(&shown, Qt::Key_Return);
        });
        EXPECT_EQ(about.ShowModal(&owner), mrOk);
        EXPECT_FALSE(about.isVisible());
        // Centred on the owner: (592 - 418) / 2, (452 - 283) / 2.
        EXPECT_EQ(shownAt, QRect(200 + 87, 150 + 84, 418, 283));
        EXPECT_TRUE(shadowShown);
        EXPECT_EQ(about.Shadow(), nullptr);  // released on closing
    }
    {
        TFrmAbout about;
        WhenShown([](TFrmAbout& shown) { QTest::mouseClick(shown.BtnSysClose, Qt::LeftButton); });
        EXPECT_EQ(about.ShowModal(&owner), mrNone);
        EXPECT_FALSE(about.isVisible());
    }
    {
        // Escape closes the window as the close picture does, so that a
        // keyboard user leaves it without reaching for the mouse.
        TFrmAbout about;
        WhenShown([&](TFrmAbout& shown) { QTest::keyClick(&shown, Qt::Key_Escape); });
        EXPECT_EQ(about.ShowModal(&owner), mrNone);
        EXPECT_FALSE(about.isVisible());
    }
}

TEST(About, ShowAboutBoxReturnsOnceClosedAndLeavesNoWindow) {
    WhenShown([](TFrmAbout& shown) { QTest::keyClick(shown.BtnOk, Qt::Key_Enter); });
    ShowAboutBox(nullptr);
    for (QWidget* w : QApplication::topLevelWidgets())
        EXPECT_EQ(qobject_cast<TFrmAbout*>(w), nullptr);
}

TEST(About, LinksOpenTheirTargets) {
    TUrlCatcher catcher;
    TFrmAbout about;
    about.show();
    QTest::mouseClick(about.RzURLLabel1, Qt::LeftButton);
    QTest::mouseClick(about.RzURLLabel2, Qt::LeftButton);
    ASSERT_EQ(catcher.Opened.size(), 2);
    EXPECT_EQ(catcher.Opened[0], QUrl(HomepageAddress()));
    EXPECT_EQ(catcher.Opened[1], QUrl(QStringLiteral("mailto:") + EmailAddress()));
    EXPECT_EQ(catcher.Opened[1].scheme(), QStringLiteral("mailto"));
    about.close();
}

TEST(About, CaptionStripMovesWithEitherButton) {
    TFrmAbout about;
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
        const QPoint start = about.pos();
        QTest::mousePress(about.Label10, button, {}, QPoint(200, 50));
        QTest::mouseMove(about.Label10, QPoint(230, 70));
        // The pointer stays on the grabbed spot of the moved window.
        QTest::mouseRelease(about.Label10, button, {}, QPoint(200, 50));
        EXPECT_EQ(about.pos(), start + QPoint(30, 20)) << button;
        // The shadow went along.
        EXPECT_EQ(about.Shadow()->ShadowWindow()->position(), about.pos() - QPoint(16, 16));
    }
    about.close();
}

#include "About_test.moc"
