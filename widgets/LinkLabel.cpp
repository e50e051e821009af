#include "widgets/LinkLabel.h"

namespace vivizu {

TLinkLabel::TLinkLabel(QWidget* parent) : TLabel(parent) {
  setCursor(Qt::PointingHandCursor);
}

void TLinkLabel::enterEvent(QEnterEvent* event) {
  QFont f = font();
  f.setUnderline(true);
  setFont(f);
  TLabel::enterEvent(event);
}

void TLinkLabel::leaveEvent(QEvent* event) {
  QFont f = font();
  f.setUnderline(false);
  setFont(f);
  TLabel::leaveEvent(event);
}

}  // namespace vivizu
