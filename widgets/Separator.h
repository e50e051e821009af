#pragma once
// TSeparator: a 1-pixel line in a colour, horizontal along the top of the
// control when it is wider than high, else vertical along its left side.

#include <QColor>
#include <QWidget>

#include "widgets/Control.h"
#include "widgets/Palette.h"

namespace vivizu {

class TSeparator : public QWidget {
  Q_OBJECT
  VIVIZU_CONTROL_PROPERTIES
  Q_PROPERTY(QColor Color READ Color WRITE SetColor)
  VIVIZU_CONTROL_MEMBERS

 public:
  explicit TSeparator(QWidget* parent = nullptr);

  QColor Color() const { return FColor; }
  void SetColor(const QColor& color);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor FColor = AccentColor();
};

}  // namespace vivizu
