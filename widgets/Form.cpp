#include "widgets/Form.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <QShowEvent>

#include "widgets/Application.h"

namespace vivizu {

TForm::TForm(QWidget* parent) : QWidget(parent, Qt::Window | Qt::FramelessWindowHint) {
  setFont(WindowFont());
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
  QWidget::showEvent(event);
}

void TForm::closeEvent(QCloseEvent* event) {
  GuardedCall([this] { FormClose(); });
  event->accept();
}

void TForm::CentreOnScreen() {
  QScreen* screen = this->screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
}

}  // namespace vivizu
