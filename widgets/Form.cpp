#include "widgets/Form.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHideEvent>
#include <QScreen>
#include <QShowEvent>

#include "widgets/Application.h"

namespace vivizu {

TForm::TForm(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
  setFont(WindowFont());
}

TForm::~TForm() {
  if (FLoop) FLoop->quit();
}

QFont TForm::WindowFont() {
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  if (QFontDatabase::families().contains(QStringLiteral("Tahoma"), Qt::CaseInsensitive)) {
    font = QFont(QStringLiteral("Tahoma"));
  }
  font.setPixelSize(11);
  return font;
}

void TForm::SetClientSize(int w, int h) { setFixedSize(w, h); }

void TForm::Create() {
  if (FCreated) return;
  FCreated = true;
  GuardedCall([this] { FormCreate(); });
}

void TForm::showEvent(QShowEvent* event) {
  Create();
  if (!FPlaced && isWindow()) {
    FPlaced = true;
    CentreOnScreen();
  }
  // Over the window it belongs to; a window the desktop shows again (after
  // minimising) stays where it was.
  const QWidget* over = FCentreOn ? FCentreOn.data() : parentWidget();
  if (over && isWindow() && !event->spontaneous()) CentreIn(over->window()->geometry());
  QWidget::showEvent(event);
}

void TForm::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  if (FLoop && !event->spontaneous()) FLoop->quit();
}

int TForm::ShowModal(QWidget* centreOn) {
  FCentreOn = centreOn;
  FModalResult = mrNone;
  setWindowModality(Qt::ApplicationModal);
  show();
  ModalShown();

  QEventLoop loop;
  FLoop = &loop;
  // The window may be destroyed (with its parent) while the loop runs.
  const QPointer<TForm> self(this);
  if (isVisible() && FModalResult == mrNone) loop.exec(QEventLoop::DialogExec);
  if (!self) return mrCancel;
  FLoop = nullptr;
  hide();
  return FModalResult;
}

void TForm::SetModalResult(int result) {
  FModalResult = result;
  if (FLoop && result != mrNone) FLoop->quit();
}

void TForm::closeEvent(QCloseEvent* event) {
  GuardedCall([this] { FormClose(); });
  event->accept();
}

void TForm::CentreOnScreen() {
  QScreen* screen = this->screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  CentreIn(screen->availableGeometry());
}

void TForm::CentreIn(const QRect& area) {
  move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

}  // namespace vivizu
