#include "widgets/URLLabel.h"

#include <QDesktopServices>

namespace vivizu {

TURLLabel::TURLLabel(QWidget* parent) : TLabel(parent) {
  setCursor(Qt::PointingHandCursor);
  QFont f = font();
  f.setUnderline(true);
  setFont(f);
  connect(this, &TLabel::Click, this, &TURLLabel::Open);
}

void TURLLabel::Open() {
  if (!FURL.isEmpty()) QDesktopServices::openUrl(QUrl(FURL));
}

}  // namespace vivizu
