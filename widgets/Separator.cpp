#include "widgets/Separator.h"

#include <QPainter>

namespace vivizu {

TSeparator::TSeparator(QWidget* parent) : QWidget(parent) {}

void TSeparator::SetColor(const QColor& color) {
  FColor = color;
  update();
}

void TSeparator::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (width() >= height()) {
    p.fillRect(0, 0, width(), 1, FColor);
  } else {
    p.fillRect(0, 0, 1, height(), FColor);
  }
}

}  // namespace vivizu
