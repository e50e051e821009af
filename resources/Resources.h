#pragma once

#include <QIcon>
#include <QPixmap>
#include <QString>

namespace vivizu {

// Registers the pictures compiled into the program (":/vivizu/..."). Call
// once before the first window is built; calling it again does no harm.
void InitVivizuResources();

// The picture ":/vivizu/<name>.png" for a display whose device pixel ratio
// is devicePixelRatio: above 1 the double-size "<name>@2x.png" is taken and
// marked as such, so it is drawn at the same logical size, only sharper.
// A picture without a double-size version falls back to the plain one.
// The pictures come from their packed copies (ArtPack.h), which need no
// decoding; the PNG files are read only for a picture without one.
QPixmap ArtPixmap(const QString& name, qreal devicePixelRatio);

// The application icon with all its drawn sizes (16 to 256 pixels), for the
// window and the application object.
QIcon AppIcon();

}  // namespace vivizu
