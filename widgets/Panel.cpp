#include "widgets/Panel.h"

#include <QPainter>

namespace vivizu {

TPanel::TPanel(QWidget* parent) : QFrame(parent) { setFrameShape(QFrame::NoFrame); }

void TPanel::SetCaption(const QString& caption) {
  FCaption = caption;
  update();
}

void TPanel::SetColor(const QColor& color) {
  FColor = color;
  update();
}

void TPanel::SetFontColor(const QColor& color) {
  FFontColor = color;
  update();
}

void TPanel::SetPicture(const QPixmap& picture) {
  FPicture = picture;
  update();
}

void TPanel::SetBevelOuter(int bevel) {
  FBevel = bevel;
  switch (bevel) {
    case BevelLowered: setFrameStyle(QFrame::Panel | QFrame::Sunken); break;
    case BevelRaised: setFrameStyle(QFrame::Panel | QFrame::Raised); break;
    default: setFrameStyle(QFrame::NoFrame);
  }
  update();
}

void TPanel::paintEvent(QPaintEvent* event) {
  {
    QPainter p(this);
    if (FColor.isValid()) p.fillRect(rect(), FColor);
    if (!FPicture.isNull()) p.drawPixmap(0, 0, FPicture);
    if (!FCaption.isEmpty()) {
      if (FFontColor.isValid()) p.setPen(FFontColor);
      p.drawText(rect(), Qt::AlignCenter | Qt::TextShowMnemonic, FCaption);
    }
  }
  QFrame::paintEvent(event);
}

}  // namespace vivizu
