#pragma once
// TPictureButton: a button drawn entirely by pictures, one per state:
// Normal, Hover (pointer over it), Down (pressed) and Disabled. A state
// without its own picture shows Normal (Disabled shows a greyed Normal).
// A button takes the keyboard's focus only when its window allows it
// (NoFocus by default); a focused button shows a dotted frame.
// Pictures without an alpha channel are drawn see-through wherever they
// have the TransparentColor (olive 128,128,0 by default).

#include <QAbstractButton>
#include <QColor>
#include <QPixmap>

#include "widgets/Control.h"

namespace vivizu {

class TPictureButton : public QAbstractButton {
  Q_OBJECT
  VIVIZU_CONTROL_PROPERTIES
  Q_PROPERTY(QPixmap Normal READ Normal WRITE SetNormal)
  Q_PROPERTY(QPixmap Hover READ Hover WRITE SetHover)
  Q_PROPERTY(QPixmap Down READ Down WRITE SetDown)
  Q_PROPERTY(QPixmap Disabled READ Disabled WRITE SetDisabled)
  Q_PROPERTY(QColor TransparentColor READ TransparentColor WRITE SetTransparentColor)
  VIVIZU_CONTROL_MEMBERS

 public:
  explicit TPictureButton(QWidget* parent = nullptr);

  QPixmap Normal() const { return FNormal; }
  void SetNormal(const QPixmap& picture);
  QPixmap Hover() const { return FHover; }
  void SetHover(const QPixmap& picture);
  QPixmap Down() const { return FDown; }
  void SetDown(const QPixmap& picture);
  QPixmap Disabled() const { return FDisabled; }
  void SetDisabled(const QPixmap& picture);

  QColor TransparentColor() const { return FTransparentColor; }
  void SetTransparentColor(const QColor& color);

  // The colour of the dotted frame that marks the keyboard's focus.
  QColor FocusColor() const { return FFocusColor; }
  void SetFocusColor(const QColor& color);

  // The picture the button shows in its current state, transparency applied.
  QPixmap CurrentPicture() const;

  QSize sizeHint() const override;

 signals:
  void Click();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  // Space (as any button) and Enter click a focused button.
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // The picture with the transparent colour made see-through.
  QPixmap SeeThrough(const QPixmap& picture) const;
  // The disabled picture as drawn: its own, or a faded Normal one.
  void PrepareDisabled();

  QPixmap FNormal, FHover, FDown, FDisabled;
  // The same pictures with the transparent colour made see-through, kept so
  // that painting (on every hover change) does no pixel work; each is made
  // again only when its own picture or the transparent colour changes.
  QPixmap FNormalDrawn, FHoverDrawn, FDownDrawn, FDisabledDrawn;
  QColor FTransparentColor{128, 128, 0};
  QColor FFocusColor{Qt::white};
  bool FHovered = false;
};

}  // namespace vivizu
