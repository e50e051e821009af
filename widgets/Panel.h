#pragma once
// TPanel: a container with an optional background colour and picture and a
// caption drawn in its middle; no bevel unless BevelOuter asks for one.

#include <QColor>
#include <QFrame>
#include <QPixmap>

#include "widgets/Control.h"

namespace vivizu {

class TPanel : public QFrame {
  Q_OBJECT
  VIVIZU_CONTROL_PROPERTIES
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(QColor Color READ Color WRITE SetColor)
  Q_PROPERTY(QColor FontColor READ FontColor WRITE SetFontColor)
  Q_PROPERTY(QPixmap Picture READ Picture WRITE SetPicture)
  Q_PROPERTY(int BevelOuter READ BevelOuter WRITE SetBevelOuter)
  VIVIZU_CONTROL_MEMBERS

 public:
  enum Bevel { BevelNone = 0, BevelLowered = 1, BevelRaised = 2 };

  explicit TPanel(QWidget* parent = nullptr);

  QString Caption() const { return FCaption; }
  void SetCaption(const QString& caption);
  // Invalid (the default): the panel draws no background of its own.
  QColor Color() const { return FColor; }
  void SetColor(const QColor& color);
  QColor FontColor() const { return FFontColor; }
  void SetFontColor(const QColor& color);
  // Drawn at the panel's top-left corner, under the caption and children.
  QPixmap Picture() const { return FPicture; }
  void SetPicture(const QPixmap& picture);
  int BevelOuter() const { return FBevel; }
  void SetBevelOuter(int bevel);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString FCaption;
  QColor FColor;
  QColor FFontColor;
  QPixmap FPicture;
  int FBevel = BevelNone;
};

}  // namespace vivizu
