#pragma once
// The pixels of a window's drop shadow: a blurred copy of the window's
// outline, 16 pixels larger on every side, transparent under the window
// itself, in a colour premultiplied by the blurred intensity. Plain
// functions on a 32-bit image (bytes blue, green, red, alpha per pixel), so
// the shadow window only shows what they compute.
#include <QColor>
#include <QImage>
#include <QRegion>
#include <QSize>
#include <array>
#include <cstdint>

namespace vivizu {

// How far the shadow reaches beyond each side of its window.
inline constexpr int ShadowMargin = 16;

// AlphaTable()[i][j] = (i * j) div 255: a colour component i premultiplied
// by an alpha j. Filled once, on first use.
using TAlphaTable = std::array<std::array<uint8_t, 256>, 256>;
const TAlphaTable& AlphaTable();

// One blur pass over the blue, green and red bytes of image (alpha is left
// alone), in place: rows top to bottom, columns left to right, each channel
// becomes the sum of the four pixels at (x +- d, y +- d) shifted right by 2,
// coordinates clamped into the image. Working in place means the samples
// from row y - d already hold this pass's values: the glow reaches only a
// few pixels above the outline but spreads further sideways and downwards.
// image must be Format_ARGB32 or Format_ARGB32_Premultiplied.
void BlurPass(QImage& image, int d);

// Draws the shadow's intensity into image, resized to the window's size
// plus the margins: black, the window's silhouette in white 16 pixels in
// from the left and top (outline: the window's complex region in its own
// coordinates; an empty or single-rectangle region means the plain
// rectangle of owner), blurred with passes 1, 2 and 3, and the silhouette
// black again so that the area under the window stays fully transparent.
// The intensity ends up in the blue, green and red bytes.
void DrawShadowIntensity(QImage& image, const QSize& owner, const QRegion& outline);

// Colours image with colour: when recomputeAlpha, each pixel's alpha
// becomes its blue byte (the blurred intensity); then blue, green and red
// become the colour's components premultiplied by that alpha through
// AlphaTable.
void ColourShadow(QImage& image, const QColor& colour, bool recomputeAlpha);

// A colour code as the window designs store it: 0x00BBGGRR, or a system
// colour (0x80000000 plus its index) resolved to the desktop's current
// colour. Unknown system colours are black.
QColor ColourFromCode(uint32_t code);

} // namespace vivizu
