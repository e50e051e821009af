#pragma once
// TGlyphButton: a push button with a small picture (glyph) left of its
// caption. The caption may carry an accelerator ("&Play": Alt+P clicks it).

#include <QPixmap>
#include <QPushButton>

#include "widgets/Control.h"

namespace vivizu {

class TGlyphButton : public QPushButton {
  Q_OBJECT
  VIVIZU_CONTROL_PROPERTIES
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(QPixmap Glyph READ Glyph WRITE SetGlyph)
  VIVIZU_CONTROL_MEMBERS

 public:
  explicit TGlyphButton(QWidget* parent = nullptr);

  QString Caption() const { return text(); }
  void SetCaption(const QString& caption) { setText(caption); }

  QPixmap Glyph() const { return FGlyph; }
  void SetGlyph(const QPixmap& glyph);

 signals:
  void Click();

 private:
  QPixmap FGlyph;
};

}  // namespace vivizu
