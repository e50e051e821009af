// Behaviour of the smaller controls that the windows rely on.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFileDialog>
#include <QMenu>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "WidgetsTestSupport.h"
#include "widgets/CheckBox.h"
#include "widgets/ComboBox.h"
#include "widgets/Edit.h"
#include "widgets/Label.h"
#include "widgets/MenuItem.h"
#include "widgets/OpenDialog.h"
#include "widgets/PageControl.h"
#include "widgets/PictureButton.h"
#include "widgets/PopupMenu.h"
#include "widgets/SaveDialog.h"
#include "widgets/TabSheet.h"
#include "widgets/Timer.h"

namespace vivizu {
namespace {

QPixmap OliveSquare(QColor centre) {
  QImage image(8, 8, QImage::Format_RGB32);
  image.fill(QColor(128, 128, 0));
  image.setPixelColor(4, 4, centre);
  return QPixmap::fromImage(image);
}

TEST(PictureButton, ShowsThePictureOfItsStateWithOliveSeeThrough) {
  TPictureButton button;
  button.resize(8, 8);
  button.SetNormal(OliveSquare(Qt::red));
  button.SetDisabled(OliveSquare(Qt::gray));
  QImage shown = button.CurrentPicture().toImage();
  EXPECT_EQ(shown.pixelColor(0, 0).alpha(), 0);
  EXPECT_EQ(shown.pixelColor(4, 4), QColor(Qt::red));

  button.SetEnabled(false);
  EXPECT_EQ(button.CurrentPicture().toImage().pixelColor(4, 4), QColor(Qt::gray));

  // Another transparent colour keeps olive.
  button.SetEnabled(true);
  button.SetTransparentColor(Qt::red);
  shown = button.CurrentPicture().toImage();
  EXPECT_EQ(shown.pixelColor(0, 0), QColor(128, 128, 0));
  EXPECT_EQ(shown.pixelColor(4, 4).alpha(), 0);
}

TEST(PictureButton, ClickFiresOnAClickButNotWhenDisabled) {
  TPictureButton button;
  button.resize(64, 64);
  button.show();
  QSignalSpy click(&button, &TPictureButton::Click);
  QTest::mouseClick(&button, Qt::LeftButton);
  EXPECT_EQ(click.count(), 1);
  button.SetEnabled(false);
  QTest::mouseClick(&button, Qt::LeftButton);
  EXPECT_EQ(click.count(), 1);
}

TEST(Label, ReportsPressAndClick) {
  TLabel label;
  label.resize(100, 20);
  label.show();
  QSignalSpy down(&label, &TLabel::MouseDown);
  QSignalSpy click(&label, &TLabel::Click);
  QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(30, 7));
  ASSERT_EQ(down.count(), 1);
  EXPECT_EQ(down[0][2].toInt(), 30);
  EXPECT_EQ(click.count(), 1);
}

TEST(Label, AutoSizeKeepsTheRightEdgeOfARightAlignedLabel) {
  QWidget parent;
  TLabel label(&parent);
  label.SetBounds(100, 5, 80, 15);
  label.SetAlignment(Qt::AlignRight | Qt::AlignTop);
  label.SetAutoSize(true);
  label.SetCaption(QStringLiteral(">> Idioma"));
  EXPECT_EQ(label.Left() + label.Width(), 180);
  EXPECT_EQ(label.Width(), label.sizeHint().width());
}

TEST(CheckBox, ClickFollowsCheckedFromUserAndProgram) {
  TCheckBox box;
  box.show();
  QSignalSpy click(&box, &TCheckBox::Click);
  box.SetChecked(true);
  box.SetChecked(true);  // no change
  EXPECT_EQ(click.count(), 1);
  QTest::keyClick(&box, Qt::Key_Space);
  EXPECT_FALSE(box.Checked());
  EXPECT_EQ(click.count(), 2);
}

TEST(ComboBox, ChangeOnlyForTheUsersChoiceAndItemsKeepTheIndex) {
  TComboBox combo;
  combo.SetItems({QStringLiteral("Blues"), QStringLiteral("Classic Rock"), QStringLiteral("Country")});
  EXPECT_EQ(combo.ItemIndex(), -1);
  QSignalSpy change(&combo, &TComboBox::Change);
  combo.SetItemIndex(1);
  EXPECT_EQ(change.count(), 0);
  combo.SetItemIndex(7);  // out of range: nothing selected
  EXPECT_EQ(combo.ItemIndex(), -1);

  combo.SetItemIndex(1);
  combo.SetItems({QStringLiteral("Azul"), QStringLiteral("Rock"), QStringLiteral("País")});
  EXPECT_EQ(combo.ItemIndex(), 1);
  EXPECT_EQ(combo.Text(), QStringLiteral("Rock"));

  combo.show();
  combo.setFocus();
  QTest::keyClick(&combo, Qt::Key_Down);
  EXPECT_EQ(combo.ItemIndex(), 2);
  EXPECT_EQ(change.count(), 1);
}

TEST(PageControl, PagesInOrderOfCreationTheFirstActive) {
  TPageControl pages;
  QSignalSpy change(&pages, &TPageControl::Change);
  auto* standard = new TTabSheet(&pages);
  standard->SetCaption(QStringLiteral("Standard"));
  auto* tags = new TTabSheet(&pages);
  tags->SetCaption(QStringLiteral("ID3Tags V1"));
  EXPECT_EQ(change.count(), 0);
  ASSERT_EQ(pages.PageCount(), 2);
  EXPECT_EQ(pages.Pages(0), standard);
  EXPECT_EQ(tags->PageIndex(), 1);
  EXPECT_EQ(pages.ActivePage(), standard);
  EXPECT_EQ(pages.tabText(0), QStringLiteral("Standard"));

  pages.SetActivePage(tags);
  EXPECT_EQ(pages.ActivePageIndex(), 1);
  EXPECT_EQ(change.count(), 1);

  // Tabs with rotated text are tall and narrow; with horizontal text they
  // are as wide as the longest caption, all of them alike.
  auto* bar = pages.findChild<TVerticalTabBar*>();
  ASSERT_NE(bar, nullptr);
  pages.resize(300, 200);
  pages.show();
  EXPECT_GT(bar->tabRect(1).height(), bar->tabRect(1).width());
  // The pages fill the page area inside its one-pixel frame, which starts
  // in the tab strip's last column; they follow the strip when it widens.
  auto pageArea = [&] { return QRect(bar->width(), 1, 300 - bar->width() - 1, 198); };
  EXPECT_EQ(bar->pos(), QPoint(0, 0));
  EXPECT_EQ(QRect(tags->mapTo(&pages, QPoint(0, 0)), tags->size()), pageArea());
  pages.SetHorizontalTabText(true);
  EXPECT_EQ(bar->tabRect(0).width(), bar->tabRect(1).width());
  EXPECT_GT(bar->tabRect(1).width(), bar->tabRect(1).height());
  EXPECT_EQ(QRect(tags->mapTo(&pages, QPoint(0, 0)), tags->size()), pageArea());
}

TEST(PageControl, TabsDrawnInTheAccentColourTheActiveOneFilled) {
  TPageControl pages;
  new TTabSheet(&pages);
  new TTabSheet(&pages);
  EXPECT_EQ(pages.AccentColor(), QColor(50, 152, 204));
  pages.resize(300, 200);
  pages.show();
  auto* bar = pages.findChild<TVerticalTabBar*>();
  ASSERT_NE(bar, nullptr);
  const QImage shot = bar->grab().toImage();
  // Beside the text, inside the outline: the active tab is filled with the
  // accent colour, the other one with its light tint.
  const QRect active = bar->tabRect(0);
  const QRect other = bar->tabRect(1);
  EXPECT_EQ(shot.pixelColor(3, active.center().y()), QColor(50, 152, 204));
  EXPECT_EQ(shot.pixelColor(3, other.center().y()), QColor(236, 244, 250));
}

TEST(Edit, FlatFrameInTheFrameColourDimmedWhenDisabled) {
  QWidget parent;
  parent.resize(200, 100);
  auto* edit = new TEdit(&parent);
  edit->setGeometry(10, 10, 100, 21);
  edit->SetFrameColor(QColor(216, 65, 58));
  parent.show();
  QImage shot = edit->grab().toImage();
  EXPECT_EQ(shot.pixelColor(50, 0), QColor(216, 65, 58));    // top side
  EXPECT_EQ(shot.pixelColor(0, 10), QColor(216, 65, 58));    // left side
  EXPECT_EQ(shot.pixelColor(99, 20), QColor(216, 65, 58));   // bottom right corner
  EXPECT_EQ(shot.pixelColor(50, 10), QColor(Qt::white));     // inside

  edit->setEnabled(false);
  shot = edit->grab().toImage();
  const QColor inside = shot.pixelColor(50, 10), side = shot.pixelColor(50, 0);
  EXPECT_EQ(inside, QColor(246, 248, 250));
  // A see-through frame over the light background, darker where two sides meet.
  EXPECT_GT(side.red(), 216);
  EXPECT_LT(side.green(), inside.green());
  EXPECT_LT(shot.pixelColor(0, 0).green(), side.green());
}

TEST(PopupMenu, RadioItemsAndClicks) {
  TPopupMenu menu;
  TMenuItem english(&menu), spanish(&menu);
  english.SetCaption(QStringLiteral("English"));
  spanish.SetCaption(QStringLiteral("Spanish"));
  for (TMenuItem* item : {&english, &spanish}) item->SetRadioItem(true);
  english.SetChecked(true);
  spanish.SetChecked(true);
  EXPECT_FALSE(english.Checked());

  QSignalSpy click(&english, &TMenuItem::Click);
  menu.Popup(10, 10);
  ASSERT_NE(menu.Shown(), nullptr);
  const QList<QAction*> actions = menu.Shown()->actions();
  ASSERT_EQ(actions.size(), 2);
  EXPECT_EQ(actions[1]->text(), QStringLiteral("Spanish"));
  EXPECT_TRUE(actions[1]->isChecked());
  actions[0]->trigger();
  EXPECT_EQ(click.count(), 1);
  EXPECT_FALSE(english.Checked());  // the handler ticks, not the menu
  menu.Shown()->close();
}

TEST(FileDialog, FilterAndTheExecuteSeam) {
  EXPECT_EQ(TFileDialogBase::ToQtFilter(QStringLiteral("MP3(*.mp3)|*.mp3")),
            QStringLiteral("MP3(*.mp3) (*.mp3)"));
  EXPECT_EQ(TFileDialogBase::ToQtFilter(QStringLiteral("Audio|*.mp3;*.mp2|All|*.*")),
            QStringLiteral("Audio (*.mp3 *.mp2);;All (*.*)"));

  TSaveDialog save;
  bool sawSave = false;
  TFileDialogBase::SetExecuteHook([&](TFileDialogBase& dialog) {
    sawSave = dialog.IsSaveDialog();
    dialog.SetFileName(QStringLiteral("/tmp/cut.mp3"));
    return true;
  });
  EXPECT_TRUE(save.Execute());
  EXPECT_TRUE(sawSave);
  EXPECT_EQ(save.FileName(), QStringLiteral("/tmp/cut.mp3"));
  TFileDialogBase::SetExecuteHook([](TFileDialogBase&) { return false; });
  TOpenDialog open;
  EXPECT_FALSE(open.Execute());
  TFileDialogBase::SetExecuteHook({});
}

// The dialog Execute really shows: an open dialog takes names that do not
// exist unless FileMustExist is among its options.
TEST(FileDialog, OpenTakesAnyNameUnlessFileMustExist) {
  auto modeShown = [](TFileDialogBase& dialog) {
    int mode = -1;
    QTimer::singleShot(0, [&mode] {
      if (auto* shown = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
        mode = shown->fileMode();
        shown->reject();
      }
    });
    EXPECT_FALSE(dialog.Execute());
    return mode;
  };
  TOpenDialog open;
  open.SetOptions(TFileDialogBase::HideReadOnly | TFileDialogBase::EnableSizing);
  EXPECT_EQ(modeShown(open), QFileDialog::AnyFile);
  open.SetOptions(TFileDialogBase::FileMustExist);
  EXPECT_EQ(modeShown(open), QFileDialog::ExistingFile);
}

TEST(Timer, FiresOnlyWhileEnabled) {
  TTimer timer;
  timer.SetEnabled(false);
  timer.SetInterval(5);
  QSignalSpy fired(&timer, &TTimer::Timer);
  QTest::qWait(30);
  EXPECT_EQ(fired.count(), 0);
  timer.SetEnabled(true);
  EXPECT_TRUE(fired.wait(1000));
  timer.SetEnabled(false);
  const auto count = fired.count();
  QTest::qWait(30);
  EXPECT_EQ(fired.count(), count);
}

}  // namespace
}  // namespace vivizu
