#include "widgets/TrackBar.h"
#include "widgets/Palette.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "widgets/Application.h"

namespace vivizu {

namespace {
const QColor kTrackEdge(176, 196, 214);
constexpr int kTrackHeight = 4;
}  // namespace

TTrackBar::TTrackBar(QWidget* parent) : QAbstractSlider(parent) {
  setOrientation(Qt::Horizontal);
  setRange(0, 10);
  setSingleStep(1);
  setPageStep(2);
  setFocusPolicy(Qt::StrongFocus);
  connect(this, &QAbstractSlider::valueChanged, this,
          [this] { GuardedCall([this] { emit Change(); }); });
}

void TTrackBar::SetThumbLength(int value) {
  FThumbLength = std::max(4, value);
  update();
}

void TTrackBar::SetTrackOffset(int value) {
  FTrackOffset = std::max(0, value);
  update();
}

void TTrackBar::SetThumb(const QPixmap& thumb) {
  FThumb = thumb;
  update();
}

QSize TTrackBar::ThumbSize() const {
  if (!FThumb.isNull()) return FThumb.deviceIndependentSize().toSize();
  return {std::max(7, FThumbLength / 2 + 1), FThumbLength};
}

int TTrackBar::PositionToX(int position) const {
  const int span = std::max(0, width() - 2 * FTrackOffset - 1);
  const long long range = static_cast<long long>(maximum()) - minimum();
  if (range <= 0) return FTrackOffset;
  const long long offset = static_cast<long long>(std::clamp(position, minimum(), maximum())) - minimum();
  return FTrackOffset + static_cast<int>(std::llround(static_cast<double>(span) * offset / range));
}

int TTrackBar::XToPosition(int x) const {
  const int span = std::max(1, width() - 2 * FTrackOffset - 1);
  const long long range = static_cast<long long>(maximum()) - minimum();
  const int along = std::clamp(x - FTrackOffset, 0, span);
  return minimum() + static_cast<int>(std::llround(static_cast<double>(range) * along / span));
}

QRect TTrackBar::ThumbRect() const {
  const QSize size = ThumbSize();
  const int cx = PositionToX(value());
  return {cx - size.width() / 2, (height() - size.height()) / 2, size.width(), size.height()};
}

QSize TTrackBar::sizeHint() const { return {150, std::max(20, ThumbSize().height())}; }

void TTrackBar::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF track(FTrackOffset, (height() - kTrackHeight) / 2.0,
                     std::max(0, width() - 2 * FTrackOffset), kTrackHeight);
  p.setPen(QPen(kTrackEdge, 1));
  p.setBrush(Qt::white);
  p.drawRoundedRect(track.adjusted(-0.5, -0.5, 0.5, 0.5), 2, 2);

  if (!isEnabled()) p.setOpacity(0.45);
  const QRect thumb = ThumbRect();
  if (!FThumb.isNull()) {
    p.drawPixmap(thumb.topLeft(), FThumb);
  } else {
    p.setPen(QPen(AccentColor().darker(130), 1));
    p.setBrush(hasFocus() ? AccentColor().lighter(115) : AccentColor());
    p.drawRoundedRect(QRectF(thumb).adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
  }
  if (hasFocus()) {
    // The keyboard's focus: a dotted frame round the whole bar, as a
    // thumb picture cannot show it.
    p.setOpacity(1.0);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QPen(AccentColor(), 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

void TTrackBar::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    event->ignore();
    return;
  }
  const QPoint p = event->position().toPoint();
  const QRect thumb = ThumbRect();
  if (thumb.adjusted(-1, 0, 1, 0).contains(p.x(), thumb.center().y())) {
    FGrabOffset = p.x() - PositionToX(value());
    setSliderDown(true);
  } else {
    // A click beside the thumb moves one page towards the pointer.
    triggerAction(p.x() < thumb.center().x() ? SliderPageStepSub : SliderPageStepAdd);
  }
  event->accept();
}

void TTrackBar::mouseMoveEvent(QMouseEvent* event) {
  if (!isSliderDown()) {
    event->ignore();
    return;
  }
  setValue(XToPosition(event->position().toPoint().x() - FGrabOffset));
  event->accept();
}

void TTrackBar::mouseReleaseEvent(QMouseEvent* event) {
  if (isSliderDown() && event->button() == Qt::LeftButton) {
    setValue(XToPosition(event->position().toPoint().x() - FGrabOffset));
    setSliderDown(false);
  }
  event->accept();
}

void TTrackBar::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Up: triggerAction(SliderSingleStepSub); break;
    case Qt::Key_Right:
    case Qt::Key_Down: triggerAction(SliderSingleStepAdd); break;
    case Qt::Key_PageUp: triggerAction(SliderPageStepSub); break;
    case Qt::Key_PageDown: triggerAction(SliderPageStepAdd); break;
    case Qt::Key_Home: triggerAction(SliderToMinimum); break;
    case Qt::Key_End: triggerAction(SliderToMaximum); break;
    default: QAbstractSlider::keyPressEvent(event); return;
  }
  event->accept();
}

}  // namespace vivizu
