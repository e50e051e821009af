#include "widgets/Edit.h"

#include "widgets/Application.h"

namespace vivizu {

TEdit::TEdit(QWidget* parent) : QLineEdit(parent) {
  connect(this, &QLineEdit::textChanged, this, [this] { GuardedCall([this] { emit Change(); }); });
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
  ApplyStyle();
}

void TEdit::ApplyStyle() {
  const QColor font = FFontColor.isValid() ? FFontColor : QColor(Qt::black);
  const QColor frame = FFrameColor.isValid() ? FFrameColor : QColor(50, 152, 204);
  QColor dimFrame = frame;
  dimFrame.setAlpha(110);
  setStyleSheet(QStringLiteral("QLineEdit { color: %1; border: 1px solid %2; background: white;"
                               " padding: 0px 2px; }"
                               " QLineEdit:disabled { color: rgb(150,150,150); border-color: %3;"
                               " background: rgb(246,248,250); }")
                    .arg(font.name(QColor::HexArgb), frame.name(QColor::HexArgb),
                         dimFrame.name(QColor::HexArgb)));
}

}  // namespace vivizu
