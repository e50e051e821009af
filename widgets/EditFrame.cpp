#include "widgets/EditFrame.h"
#include "widgets/Palette.h"

#include <QPainter>

namespace vivizu {

namespace {
const QColor kBackground(Qt::white);
const QColor kDisabledBackground(246, 248, 250);
constexpr int kFrame = 1;    // frame width
constexpr int kPadding = 2;  // between the frame and the text area, left and right
}  // namespace

void SetUpEditFrame(QLineEdit& edit) {
  edit.setFrame(false);
  edit.setTextMargins(kFrame + kPadding, kFrame, kFrame + kPadding, kFrame);
}

void ApplyEditColours(QLineEdit& edit, const QColor& text, const QColor& disabledText) {
  QPalette p = edit.palette();
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    p.setColor(group, QPalette::Text, text);
    p.setColor(group, QPalette::Base, kBackground);
  }
  p.setColor(QPalette::Disabled, QPalette::Text, disabledText);
  p.setColor(QPalette::Disabled, QPalette::Base, kDisabledBackground);
  edit.setPalette(p);
}

void PaintEditBackground(QLineEdit& edit) {
  QPainter p(&edit);
  p.fillRect(edit.rect(), edit.isEnabled() ? kBackground : kDisabledBackground);
}

void PaintEditFrame(QLineEdit& edit, QColor frame) {
  if (!frame.isValid()) frame = AccentColor();
  if (!edit.isEnabled()) frame = Dimmed(frame);
  QPainter p(&edit);
  // Each side a full one-pixel band, so a see-through frame is a shade
  // darker in the corners, where two bands meet.
  const int w = edit.width(), h = edit.height();
  p.fillRect(0, h - kFrame, w, kFrame, frame);  // bottom
  p.fillRect(w - kFrame, 0, kFrame, h, frame);  // right
  p.fillRect(0, 0, kFrame, h, frame);           // left
  p.fillRect(0, 0, w, kFrame, frame);           // top
}

}  // namespace vivizu
