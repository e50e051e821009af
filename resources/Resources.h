#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace vivizu {

// The picture resources/png/<name>.png for a display whose device pixel
// ratio is devicePixelRatio: above 1 the double-size "<name>@2x" is taken
// and marked as such, so it is drawn at the same logical size, only sharper.
// A picture without a double-size version falls back to the plain one.
// The pictures come from their packed copies (ArtPack.h), which need no
// decoding; a name without a packed picture gives a null pixmap.
QPixmap ArtPixmap(const QString& name, qreal devicePixelRatio);

// The application icon with all its drawn sizes (16 to 256 pixels), for the
// window and the application object.
QIcon AppIcon();

}  // namespace vivizu
