// The controls from the keyboard: a link's accelerator, the focus marks of
// the controls that draw themselves, and Enter on a picture button.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <QVBoxLayout>

#include "WidgetsTestSupport.h"
#include "widgets/LinkLabel.h"
#include "widgets/PageControl.h"
#include "widgets/PictureButton.h"
#include "widgets/TabSheet.h"
#include "widgets/TrackBar.h"

namespace vivizu {
namespace {

TEST(LinkLabel, MarksTheAcceleratorAndTakesItOutOfTheName) {
  EXPECT_EQ(AcceleratorMarkup(QStringLiteral(">> &Language")), QStringLiteral("&gt;&gt; <u>L</u>anguage"));
  EXPECT_EQ(AcceleratorMarkup(QStringLiteral("Rock && Roll")), QStringLiteral("Rock &amp; Roll"));
  EXPECT_EQ(AcceleratorMarkup(QStringLiteral("S&prache <b>")), QStringLiteral("S<u>p</u>rache &lt;b&gt;"));
  EXPECT_EQ(AcceleratorMarkup(QStringLiteral("end&")), QStringLiteral("end&amp;"));
  EXPECT_EQ(WithoutAccelerator(QStringLiteral(">> La&ngue")), QStringLiteral(">> Langue"));
  EXPECT_EQ(WithoutAccelerator(QStringLiteral("A&&B")), QStringLiteral("A&B"));
}

// A language file sets "Caption" by name; the link's own setter must take
// it, or the accelerator would show as a plain "&" and no key would work.
TEST(LinkLabel, AltAndTheMarkedLetterClickItAlsoWhenTheCaptionIsSetByName) {
  QWidget window;
  auto* link = new TLinkLabel(&window);
  link->setProperty("Caption", QStringLiteral(">> &Options"));
  EXPECT_EQ(link->Caption(), QStringLiteral(">> &Options"));
  EXPECT_EQ(link->text(), QStringLiteral("&gt;&gt; <u>O</u>ptions"));
  EXPECT_EQ(link->accessibleName(), QStringLiteral(">> Options"));
  EXPECT_EQ(link->Accelerator(), QKeySequence(Qt::ALT | Qt::Key_O));
  window.show();
  QApplication::setActiveWindow(&window);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QSignalSpy clicks(link, &TLabel::Click);
  QTest::keyClick(&window, Qt::Key_O, Qt::AltModifier);
  EXPECT_EQ(clicks.count(), 1);
  link->SetEnabled(false);
  QTest::keyClick(&window, Qt::Key_O, Qt::AltModifier);
  EXPECT_EQ(clicks.count(), 1);
  link->SetEnabled(true);
  link->SetCaption(QStringLiteral(">> &Idioma"));
  QTest::keyClick(&window, Qt::Key_O, Qt::AltModifier);
  EXPECT_EQ(clicks.count(), 1); // the old key is gone
  QTest::keyClick(&window, Qt::Key_I, Qt::AltModifier);
  EXPECT_EQ(clicks.count(), 2);
}

// Renders target with and without the keyboard's focus; the focus mark is
// what differs.
int PixelsChangedByFocus(QWidget& window, QWidget* target, QWidget* elsewhere) {
  window.show();
  QApplication::setActiveWindow(&window);
  EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
  elsewhere->setFocus(Qt::TabFocusReason);
  const QImage plain = target->grab().toImage();
  target->setFocus(Qt::TabFocusReason);
  EXPECT_TRUE(target->hasFocus());
  const QImage focused = target->grab().toImage();
  int changed = 0;
  for (int y = 0; y < plain.height(); ++y)
    for (int x = 0; x < plain.width(); ++x) changed += plain.pixel(x, y) != focused.pixel(x, y);
  return changed;
}

TEST(FocusMark, ThePositionBarWithAThumbPictureShowsItsFocus) {
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* bar = new TTrackBar;
  QPixmap thumb(11, 20);
  thumb.fill(Qt::darkBlue);
  bar->SetThumb(thumb);
  bar->setFixedSize(200, 20);
  auto* other = new TTrackBar;
  layout->addWidget(bar);
  layout->addWidget(other);
  EXPECT_GT(PixelsChangedByFocus(window, bar, other), 100);
}

TEST(FocusMark, APictureButtonShowsItsFocusAndEnterClicksIt) {
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* button = new TPictureButton;
  QPixmap picture(64, 64);
  picture.fill(Qt::darkBlue);
  button->SetNormal(picture);
  button->setFixedSize(64, 64);
  button->setFocusPolicy(Qt::TabFocus);
  auto* other = new TTrackBar;
  layout->addWidget(button);
  layout->addWidget(other);
  EXPECT_GT(PixelsChangedByFocus(window, button, other), 50);

  QSignalSpy clicks(button, &TPictureButton::Click);
  QTest::keyClick(button, Qt::Key_Return);
  EXPECT_TRUE(QTest::qWaitFor([&] { return clicks.count() == 1; }, 1000));
  QTest::keyClick(button, Qt::Key_Space);
  EXPECT_EQ(clicks.count(), 2);
  button->SetEnabled(false);
  QTest::keyClick(button, Qt::Key_Return);
  QTest::qWait(300);
  EXPECT_EQ(clicks.count(), 2);
}

TEST(FocusMark, TheActivePageTabShowsItsFocus) {
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* pages = new TPageControl;
  pages->setFixedSize(300, 200);
  auto* first = new TTabSheet(pages);
  first->SetCaption(QStringLiteral("Standard"));
  auto* second = new TTabSheet(pages);
  second->SetCaption(QStringLiteral("Tags"));
  auto* other = new TTrackBar;
  layout->addWidget(pages);
  layout->addWidget(other);
  EXPECT_GT(PixelsChangedByFocus(window, pages->tabBar(), other), 20);
}

}  // namespace
}  // namespace vivizu
