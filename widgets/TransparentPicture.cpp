#include "widgets/TransparentPicture.h"

namespace vivizu {

QPixmap WithTransparentColor(const QPixmap& picture, const QColor& color) {
  if (picture.isNull() || picture.hasAlphaChannel() || !color.isValid()) return picture;
  QImage image = picture.toImage().convertToFormat(QImage::Format_ARGB32);
  const QRgb key = color.rgb() & 0x00FFFFFF;
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if ((line[x] & 0x00FFFFFF) == key) line[x] = 0;
    }
  }
  QPixmap result = QPixmap::fromImage(image);
  result.setDevicePixelRatio(picture.devicePixelRatio());
  return result;
}

QColor BottomLeftColor(const QPixmap& picture) {
  if (picture.isNull()) return {};
  const QImage image = picture.toImage();
  return QColor(image.pixel(0, image.height() - 1));
}

}  // namespace vivizu
