// The shadow window following its owner: geometry, redraws only on size
// changes, showing and hiding with the owner, and its window's nature.
#include "chrome/FormShadow.h"
#include "chrome/RoundRegion.h"
#include "chrome/ShadowImage.h"

#include <QPointer>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>
#include <memory>

using namespace vivizu;

namespace {

class Shadow : public ::testing::Test {
protected:
    void SetUp() override {
        Owner.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        Owner.setFixedSize(592, 452);
        ApplyRoundRegion(Owner, QRect(0, 0, 592, 452));
        Owner.move(100, 100);
        FShadow.SetOwnerForm(&Owner);
        FShadow.SetShadowColor(uint32_t{10582346});
    }
    void Show() {
        Owner.show();
        FShadow.SetShadowVisible(true);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Owner));
    }
    QWidget Owner;
    TFormShadow FShadow;
};

} // namespace

TEST_F(Shadow, NothingIsDrawnOrShownBeforeTheOwnerShows) {
    EXPECT_EQ(FShadow.RebuildCount(), 0);
    EXPECT_EQ(FShadow.ShadowWindow(), nullptr);
    EXPECT_TRUE(FShadow.Image().isNull() || FShadow.Image().size().isEmpty());
    EXPECT_EQ(FShadow.ShadowColor(), QColor(74, 121, 161));
}

TEST_F(Shadow, LiesBehindTheOwnerSixteenPixelsBeyondIt) {
    Show();
    EXPECT_EQ(FShadow.ShadowGeometry(), QRect(84, 84, 624, 484));
    ASSERT_NE(FShadow.ShadowWindow(), nullptr);
    EXPECT_TRUE(FShadow.WindowShown());
    EXPECT_EQ(FShadow.ShadowWindow()->geometry(), QRect(84, 84, 624, 484));
    EXPECT_EQ(FShadow.Image().size(), QSize(624, 484));
    // The picture is the pure functions' result for this owner.
    QImage expected;
    DrawShadowIntensity(expected, QSize(592, 452), RoundRegion(QRect(0, 0, 592, 452)));
    ColourShadow(expected, QColor(74, 121, 161), true);
    EXPECT_EQ(FShadow.Image(), expected);

    const Qt::WindowFlags flags = FShadow.ShadowWindow()->flags();
    EXPECT_TRUE(flags & Qt::WindowTransparentForInput);
    EXPECT_TRUE(flags & Qt::WindowDoesNotAcceptFocus);
    EXPECT_TRUE(flags & Qt::FramelessWindowHint);
    EXPECT_TRUE(flags & Qt::X11BypassWindowManagerHint);
    EXPECT_EQ(FShadow.ShadowWindow()->requestedFormat().alphaBufferSize(), 8);
}

TEST_F(Shadow, MovesOnlyRepositionAndResizesRedraw) {
    Show();
    const int drawn = FShadow.RebuildCount();
    EXPECT_EQ(drawn, 1);
    for (int i = 1; i <= 5; ++i) {
        Owner.move(100 + 10 * i, 100 + 7 * i);
        EXPECT_EQ(FShadow.ShadowWindow()->geometry().topLeft(), QPoint(84 + 10 * i, 84 + 7 * i));
    }
    EXPECT_EQ(FShadow.RebuildCount(), drawn);

    Owner.setFixedSize(300, 200);
    EXPECT_EQ(FShadow.RebuildCount(), drawn + 1);
    EXPECT_EQ(FShadow.Image().size(), QSize(332, 232));
    EXPECT_EQ(FShadow.ShadowWindow()->geometry().size(), QSize(332, 232));

    // A new colour recolours without blurring again.
    FShadow.SetShadowColor(QColor(255, 0, 0));
    EXPECT_EQ(FShadow.RebuildCount(), drawn + 1);
    const QRgb p = FShadow.Image().pixel(150, 10);
    EXPECT_EQ(qRed(p), qAlpha(p));
    EXPECT_EQ(qBlue(p), 0);
}

TEST_F(Shadow, HidesAndShowsWithTheOwner) {
    Show();
    EXPECT_TRUE(FShadow.WindowShown());

    Owner.showMinimized();
    EXPECT_FALSE(FShadow.WindowShown());
    Owner.showNormal();
    EXPECT_TRUE(FShadow.WindowShown());

    Owner.hide();
    FShadow.SetShadowVisible(false);
    EXPECT_FALSE(FShadow.WindowShown());
    Owner.show();
    FShadow.SetShadowVisible(true);
    EXPECT_TRUE(FShadow.WindowShown());
    EXPECT_EQ(FShadow.RebuildCount(), 1);

    // Not wanted: hidden although the owner shows; asking twice changes nothing.
    FShadow.SetShadowVisible(false);
    FShadow.SetShadowVisible(false);
    EXPECT_FALSE(FShadow.WindowShown());
    Owner.move(300, 300);
    EXPECT_FALSE(FShadow.WindowShown());
}

TEST_F(Shadow, DetachingStopsFollowingAndReleasingHidesTheWindow) {
    Show();
    FShadow.SetOwnerForm(nullptr);
    EXPECT_FALSE(FShadow.WindowShown());
    Owner.move(400, 400);
    EXPECT_EQ(FShadow.ShadowGeometry(), QRect());

    auto* second = new TFormShadow;
    second->SetOwnerForm(&Owner);
    second->SetShadowVisible(true);
    EXPECT_TRUE(second->WindowShown());
    QPointer<QWindow> window = second->ShadowWindow();
    delete second;
    EXPECT_TRUE(window.isNull());
    Owner.move(410, 410);  // the owner goes on without its former filter
}

// The one call a window needs: its shadow then shows and hides with it.
TEST(ShadowOfAnyWindow, CreateFormShadowFollowsShowAndHide) {
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.setFixedSize(340, 180);
    ApplyRoundRegion(window, QRect(0, 0, 340, 180));
    std::unique_ptr<TFormShadow> shadow = CreateFormShadow(window);
    EXPECT_EQ(shadow->parent(), nullptr);  // the window's pointer is its only owner
    EXPECT_EQ(shadow->ShadowColor(), QColor(74, 121, 161));
    window.show();
    EXPECT_TRUE(shadow->ShadowVisible());
    EXPECT_TRUE(shadow->WindowShown());
    EXPECT_EQ(shadow->ShadowGeometry(), window.geometry().adjusted(-16, -16, 16, 16));
    window.hide();
    EXPECT_FALSE(shadow->WindowShown());
    window.show();
    EXPECT_TRUE(shadow->WindowShown());
    // Released while its window shows: the shadow window goes with it.
    QPointer<QWindow> shown = shadow->ShadowWindow();
    shadow.reset();
    EXPECT_TRUE(shown.isNull());
}
