#include "widgets/PictureButton.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOption>

#include "widgets/Application.h"
#include "widgets/TransparentPicture.h"

namespace vivizu {

TPictureButton::TPictureButton(QWidget* parent) : QAbstractButton(parent) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_Hover);
  connect(this, &QAbstractButton::clicked, this, [this] { GuardedCall([this] { emit Click(); }); });
}

QPixmap TPictureButton::Prepared(const QPixmap& picture) const {
  return WithTransparentColor(picture, FTransparentColor);
}

void TPictureButton::SetNormal(const QPixmap& picture) {
  FNormal = picture;
  updateGeometry();
  update();
}

void TPictureButton::SetHover(const QPixmap& picture) {
  FHover = picture;
  update();
}

void TPictureButton::SetDown(const QPixmap& picture) {
  FDown = picture;
  update();
}

void TPictureButton::SetDisabled(const QPixmap& picture) {
  FDisabled = picture;
  update();
}

void TPictureButton::SetTransparentColor(const QColor& color) {
  FTransparentColor = color;
  update();
}

QPixmap TPictureButton::CurrentPicture() const {
  if (!isEnabled()) {
    if (!FDisabled.isNull()) return Prepared(FDisabled);
    // No picture of its own: a faded Normal picture.
    const QPixmap normal = Prepared(FNormal);
    if (normal.isNull()) return normal;
    QPixmap faded(normal.size());
    faded.setDevicePixelRatio(normal.devicePixelRatio());
    faded.fill(Qt::transparent);
    QPainter p(&faded);
    p.setOpacity(0.4);
    p.drawPixmap(0, 0, normal);
    return faded;
  }
  if (isDown() && !FDown.isNull()) return Prepared(FDown);
  if ((FHovered || isDown()) && !FHover.isNull()) return Prepared(FHover);
  return Prepared(FNormal);
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
