#include "widgets/Image.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>

#include <stdexcept>

#include "widgets/Application.h"
#include "widgets/TransparentPicture.h"

namespace vivizu {

namespace {

// The picture in bytes read as the format its file name suggests, with Qt's
// own reader for it; a null image when that does not work. Naming the format
// and turning detection off spares loading every image plugin to ask each
// whether it knows the format, which Qt does before its own readers.
QImage ReadKnownFormat(const QByteArray& bytes, const QByteArray& format) {
  if (format.isEmpty()) return {};
  QBuffer buffer;
  buffer.setData(bytes);
  if (!buffer.open(QIODevice::ReadOnly)) return {};
  QImageReader reader(&buffer, format);
  reader.setAutoDetectImageFormat(false);
  return reader.read();
}

}  // namespace

TImage::TImage(QWidget* parent) : QWidget(parent) { setMouseTracking(true); }

void TImage::SetPicture(const QPixmap& picture) {
  FPicture = picture;
  Prepare();
}

void TImage::LoadFromFile(const QString& path) {
  QFile file(path);
  const bool opened = file.open(QIODevice::ReadOnly);
  const QByteArray bytes = opened ? file.readAll() : QByteArray();
  if (!opened || file.error() != QFileDevice::NoError) {
    throw std::runtime_error(
        QStringLiteral("Cannot open file \"%1\". %2").arg(path, file.errorString()).toStdString());
  }
  QImage image = ReadKnownFormat(bytes, QFileInfo(path).suffix().toLower().toLatin1());
  if (image.isNull() && !image.loadFromData(bytes)) {
    throw std::runtime_error("Bitmap image is not valid");
  }
  SetPicture(QPixmap::fromImage(image));
}

void TImage::SetTransparent(bool transparent) {
  FTransparent = transparent;
  Prepare();
}

void TImage::SetStretch(bool stretch) {
  FStretch = stretch;
  update();
}

void TImage::SetCenter(bool center) {
  FCenter = center;
  update();
}

void TImage::Prepare() {
  FDrawn = FTransparent ? WithTransparentColor(FPicture, BottomLeftColor(FPicture)) : FPicture;
  update();
}

void TImage::paintEvent(QPaintEvent*) {
  if (FDrawn.isNull()) return;
  QPainter p(this);
  // A picture drawn finer than the screen shows it (a double on a screen
  // scaled 1.5x) is scaled down smoothly; its see-through pixels are
  // transparent by now, so they fade the edges instead of tinting them. A
  // picture scaled up keeps its sharp pixels.
  p.setRenderHint(QPainter::SmoothPixmapTransform,
                  FStretch || FDrawn.devicePixelRatio() > p.device()->devicePixelRatioF());
  if (FStretch) {
    p.drawPixmap(rect(), FDrawn);
    return;
  }
  const QSize size = FDrawn.deviceIndependentSize().toSize();
  const QPoint at = FCenter ? QPoint((width() - size.width()) / 2, (height() - size.height()) / 2)
                            : QPoint(0, 0);
  p.drawPixmap(at, FDrawn);
}

// Qt keeps delivering a pressed widget's mouse events to it until the last
// button is released (an implicit grab), which is the capture the markers
// rely on. FGrabbing only remembers that a press started here.

void TImage::mousePressEvent(QMouseEvent* event) {
  FGrabbing = true;
  const QPoint p = event->position().toPoint();
  GuardedCall([&] { emit MouseDown(event->button(), event->modifiers(), p.x(), p.y()); });
  event->accept();
}

void TImage::mouseMoveEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  GuardedCall([&] { emit MouseMove(event->modifiers(), p.x(), p.y()); });
  event->accept();
}

void TImage::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  const bool click = FGrabbing && event->button() == Qt::LeftButton && rect().contains(p);
  if (event->buttons() == Qt::NoButton) FGrabbing = false;
  GuardedCall([&] { emit MouseUp(event->button(), event->modifiers(), p.x(), p.y()); });
  if (click) GuardedCall([&] { emit Click(); });
  event->accept();
}

}  // namespace vivizu
