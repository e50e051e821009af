#include "widgets/Label.h"
#include "widgets/Palette.h"

#include <QMouseEvent>

#include "widgets/Application.h"

namespace vivizu {

TLabel::TLabel(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setMouseTracking(true);
}

void TLabel::SetCaption(const QString& caption) {
  setText(caption);
  if (FAutoSize) FitToText();
}

void TLabel::SetTransparent(bool transparent) {
  FTransparent = transparent;
  ApplyColors();
}

void TLabel::SetFontColor(const QColor& color) {
  FFontColor = color;
  ApplyColors();
}

void TLabel::SetColor(const QColor& color) {
  FColor = color;
  ApplyColors();
}

void TLabel::SetBold(bool bold) {
  QFont f = font();
  f.setBold(bold);
  setFont(f);  // refits an AutoSize label through changeEvent
}

void TLabel::SetAutoSize(bool autoSize) {
  FAutoSize = autoSize;
  if (FAutoSize) FitToText();
}

void TLabel::ApplyColors() {
  QPalette p = palette();
  if (FFontColor.isValid()) {
    p.setColor(QPalette::WindowText, FFontColor);
    // A disabled label greys its text; keep the colour recognisable.
    p.setColor(QPalette::Disabled, QPalette::WindowText, Dimmed(FFontColor));
  }
  if (FColor.isValid()) p.setColor(QPalette::Window, FColor);
  setPalette(p);
  setAutoFillBackground(!FTransparent);
}

void TLabel::FitToText() {
  if (wordWrap()) return;
  const QSize hint = sizeHint();
  const int right = x() + width();
  resize(hint);
  if (alignment() & Qt::AlignRight) move(right - hint.width(), y());
}

void TLabel::changeEvent(QEvent* event) {
  QLabel::changeEvent(event);
  // A font set later on the window (or inherited from it) changes the text's size.
  if (event->type() == QEvent::FontChange && FAutoSize) FitToText();
}

void TLabel::mousePressEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  if (event->button() == Qt::LeftButton) FPressed = true;
  GuardedCall([&] { emit MouseDown(event->button(), event->modifiers(), p.x(), p.y()); });
}

void TLabel::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  GuardedCall([&] { emit MouseMove(event->modifiers(), p.x(), p.y()); });
}

void TLabel::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  const bool click = event->button() == Qt::LeftButton && FPressed && rect().contains(p);
  if (event->button() == Qt::LeftButton) FPressed = false;
  GuardedCall([&] { emit MouseUp(event->button(), event->modifiers(), p.x(), p.y()); });
  if (click) GuardedCall([&] { emit Click(); });
}

}  // namespace vivizu
