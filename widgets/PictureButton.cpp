#include "widgets/PictureButton.h"

#include <QKeyEvent>
#include <QPainter>

#include "widgets/Application.h"
#include "widgets/TransparentPicture.h"

namespace vivizu {

TPictureButton::TPictureButton(QWidget* parent) : QAbstractButton(parent) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_Hover);
  connect(this, &QAbstractButton::clicked, this, [this] { GuardedCall([this] { emit Click(); }); });
}

QPixmap TPictureButton::SeeThrough(const QPixmap& picture) const {
  return WithTransparentColor(picture, FTransparentColor);
}

void TPictureButton::PrepareDisabled() {
  if (!FDisabled.isNull() || FNormalDrawn.isNull()) {
    FDisabledDrawn = SeeThrough(FDisabled);
    return;
  }
  // No disabled picture of its own: a faded Normal picture.
  FDisabledDrawn = QPixmap(FNormalDrawn.size());
  FDisabledDrawn.setDevicePixelRatio(FNormalDrawn.devicePixelRatio());
  FDisabledDrawn.fill(Qt::transparent);
  QPainter p(&FDisabledDrawn);
  p.setOpacity(0.4);
  p.drawPixmap(0, 0, FNormalDrawn);
}

void TPictureButton::SetNormal(const QPixmap& picture) {
  FNormal = picture;
  FNormalDrawn = SeeThrough(FNormal);
  PrepareDisabled();
  updateGeometry();
  update();
}

void TPictureButton::SetHover(const QPixmap& picture) {
  FHover = picture;
  FHoverDrawn = SeeThrough(FHover);
  update();
}

void TPictureButton::SetDown(const QPixmap& picture) {
  FDown = picture;
  FDownDrawn = SeeThrough(FDown);
  update();
}

void TPictureButton::SetDisabled(const QPixmap& picture) {
  FDisabled = picture;
  PrepareDisabled();
  update();
}

void TPictureButton::SetTransparentColor(const QColor& color) {
  FTransparentColor = color;
  FNormalDrawn = SeeThrough(FNormal);
  FHoverDrawn = SeeThrough(FHover);
  FDownDrawn = SeeThrough(FDown);
  PrepareDisabled();
  update();
}

QPixmap TPictureButton::CurrentPicture() const {
  if (!isEnabled()) return FDisabledDrawn;
  if (isDown() && !FDownDrawn.isNull()) return FDownDrawn;
  if ((FHovered || isDown()) && !FHoverDrawn.isNull()) return FHoverDrawn;
  return FNormalDrawn;
}

QSize TPictureButton::sizeHint() const {
  if (FNormal.isNull()) return {64, 64};
  return FNormal.deviceIndependentSize().toSize();
}

void TPictureButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QPixmap picture = CurrentPicture();
  if (!picture.isNull()) {
    const QSize size = picture.deviceIndependentSize().toSize();
    // Pictures of the button's own size fill it; others are centred.
    p.drawPixmap((width() - size.width()) / 2, (height() - size.height()) / 2, picture);
  }
  if (hasFocus()) {
    // The keyboard's focus: a dotted white frame inside the button's edge
    // (the buttons stand on the window's blue header).
    p.setPen(QPen(FocusColor(), 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

void TPictureButton::keyPressEvent(QKeyEvent* event) {
  if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && isEnabled()) {
    animateClick();
    return;
  }
  QAbstractButton::keyPressEvent(event);
}

void TPictureButton::SetFocusColor(const QColor& color) {
  FFocusColor = color;
  update();
}

void TPictureButton::enterEvent(QEnterEvent* event) {
  FHovered = true;
  update();
  QAbstractButton::enterEvent(event);
}

void TPictureButton::leaveEvent(QEvent* event) {
  FHovered = false;
  update();
  QAbstractButton::leaveEvent(event);
}

}  // namespace vivizu
