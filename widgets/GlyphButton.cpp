#include "widgets/GlyphButton.h"

#include "widgets/Application.h"

namespace vivizu {

TGlyphButton::TGlyphButton(QWidget* parent) : QPushButton(parent) {
  connect(this, &QAbstractButton::clicked, this, [this] { GuardedCall([this] { emit Click(); }); });
}

void TGlyphButton::SetGlyph(const QPixmap& glyph) {
  FGlyph = glyph;
  setIcon(QIcon(glyph));
  if (!glyph.isNull()) setIconSize(glyph.deviceIndependentSize().toSize());
}

}  // namespace vivizu
