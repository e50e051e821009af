#pragma once
// Helpers for pictures without an alpha channel that mark their see-through
// parts with one "transparent colour" (bitmaps).

#include <QColor>
#include <QImage>
#include <QPixmap>

namespace vivizu {

// The picture with every pixel of exactly `color` made fully transparent.
// A picture that already has an alpha channel is returned as it is.
QPixmap WithTransparentColor(const QPixmap& picture, const QColor& color);

// The colour of the bottom-left pixel: the transparent colour of a bitmap
// drawn transparent. Invalid for an empty picture.
QColor BottomLeftColor(const QPixmap& picture);

}  // namespace vivizu
