#include "widgets/Edit.h"

#include "widgets/Application.h"
#include "widgets/EditFrame.h"

namespace vivizu {

TEdit::TEdit(QWidget* parent) : QLineEdit(parent) {
  connect(this, &QLineEdit::textChanged, this, [this] { GuardedCall([this] { emit Change(); }); });
  SetUpEditFrame(*this);
  ApplyStyle();
}

void TEdit::SetMaxLength(int length) {
  FMaxLength = length > 0 ? length : 0;
  setMaxLength(FMaxLength > 0 ? FMaxLength : 32767);
}

void TEdit::SetFontColor(const QColor& color) {
  FFontColor = color;
  ApplyStyle();
}

void TEdit::SetFrameColor(const QColor& color) {
  FFrameColor = color;
  update();
}

void TEdit::ApplyStyle() {
  const QColor font = FFontColor.isValid() ? FFontColor : QColor(Qt::black);
  ApplyEditColours(*this, font, QColor(150, 150, 150));
  update();
}

void TEdit::paintEvent(QPaintEvent* event) {
  PaintEditBackground(*this);
  QLineEdit::paintEvent(event);
  PaintEditFrame(*this, FFrameColor);
}

}  // namespace vivizu
