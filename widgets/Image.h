#pragma once
// TImage: shows a picture and reports the mouse.
//
// Transparent: a picture without an alpha channel (a bitmap) is drawn with
// the colour of its bottom-left pixel see-through. Stretch scales the
// picture to the control, Center centres an unscaled one.
// Mouse events carry x, y in the image's own client coordinates. After a
// press the image keeps the mouse until the button is released: moves and
// the release are reported wherever the pointer goes. MouseMove is also
// reported while no button is held.

#include <QPixmap>
#include <QWidget>

#include "widgets/Control.h"

namespace vivizu {

class TImage : public QWidget {
  Q_OBJECT
  VIVIZU_CONTROL_PROPERTIES
  Q_PROPERTY(QPixmap Picture READ Picture WRITE SetPicture)
  Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
  Q_PROPERTY(bool Stretch READ Stretch WRITE SetStretch)
  Q_PROPERTY(bool Center READ Center WRITE SetCenter)
  Q_PROPERTY(Qt::CursorShape Cursor READ Cursor WRITE SetCursor)
  VIVIZU_CONTROL_MEMBERS

 public:
  explicit TImage(QWidget* parent = nullptr);

  QPixmap Picture() const { return FPicture; }
  void SetPicture(const QPixmap& picture);
  // Loads the picture from a file; throws std::runtime_error with
  // "Cannot open file "<path>". <reason>" when the file cannot be read and
  // "Bitmap image is not valid" when it holds no picture we can decode.
  // On failure the current picture stays.
  void LoadFromFile(const QString& path);

  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool transparent);
  bool Stretch() const { return FStretch; }
  void SetStretch(bool stretch);
  bool Center() const { return FCenter; }
  void SetCenter(bool center);
  Qt::CursorShape Cursor() const { return cursor().shape(); }
  void SetCursor(Qt::CursorShape shape) { setCursor(shape); }

  // The picture as drawn: transparency applied.
  QPixmap DrawnPicture() const { return FDrawn; }

 signals:
  void Click();
  void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
  void MouseMove(Qt::KeyboardModifiers shift, int x, int y);
  void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void Prepare();

  QPixmap FPicture;
  QPixmap FDrawn;
  bool FTransparent = false;
  bool FStretch = false;
  bool FCenter = false;
  bool FGrabbing = false;
};

}  // namespace vivizu
