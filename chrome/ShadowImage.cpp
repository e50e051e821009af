#include "chrome/ShadowImage.h"

#include <QApplication>
#include <QPalette>
#include <QRect>
#include <algorithm>
#include <vector>

namespace vivizu {

const TAlphaTable& AlphaTable() {
    static const TAlphaTable table = [] {
        TAlphaTable t{};
        for (int i = 0; i < 256; ++i)
            for (int j = 0; j < 256; ++j)
                t[i][j] = static_cast<uint8_t>(i * j / 255);
        return t;
    }();
    return table;
}

void BlurPass(QImage& image, int d) {
    const int w = image.width();
    const int h = image.height();
    if (w <= 0 || h <= 0)
        return;
    // Clamped neighbour columns, the same for every row.
    std::vector<int> leftOf(static_cast<size_t>(w)), rightOf(static_cast<size_t>(w));
    for (int x = 0; x < w; ++x) {
        leftOf[static_cast<size_t>(x)] = std::max(x - d, 0);
        rightOf[static_cast<size_t>(x)] = std::min(x + d, w - 1);
    }
    for (int y = 0; y < h; ++y) {
        // scanLine() of a non-const image detaches once; the rows are then
        // read and written in place, so row y - d holds this pass's values.
        auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
        const auto* above = reinterpret_cast<const uint32_t*>(image.constScanLine(std::max(y - d, 0)));
        const auto* below = reinterpret_cast<const uint32_t*>(image.constScanLine(std::min(y + d, h - 1)));
        for (int x = 0; x < w; ++x) {
            const uint32_t a = above[leftOf[static_cast<size_t>(x)]];
            const uint32_t b = above[rightOf[static_cast<size_t>(x)]];
            const uint32_t c = below[leftOf[static_cast<size_t>(x)]];
            const uint32_t e = below[rightOf[static_cast<size_t>(x)]];
            // Red and blue side by side in one word: each lane's sum of four
            // bytes fits in 10 bits, so the lanes do not run into each other.
            const uint32_t redBlue =
                (((a & 0xFF00FFu) + (b & 0xFF00FFu) + (c & 0xFF00FFu) + (e & 0xFF00FFu)) >> 2) & 0xFF00FFu;
            const uint32_t green =
                ((((a >> 8) & 0xFFu) + ((b >> 8) & 0xFFu) + ((c >> 8) & 0xFFu) + ((e >> 8) & 0xFFu)) >> 2) << 8;
            row[x] = (row[x] & 0xFF000000u) | redBlue | green;
        }
    }
}

namespace {

void Fill(QImage& image, const QRect& rect, uint32_t pixel) {
    const QRect r = rect.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
        std::fill(row + r.left(), row + r.left() + r.width(), pixel);
    }
}

void FillOutline(QImage& image, const QRegion& outline, uint32_t pixel) {
    for (const QRect& rect : outline)
        Fill(image, rect, pixel);
}

} // namespace

void DrawShadowIntensity(QImage& image, const QSize& owner, const QRegion& outline) {
    const QSize size(owner.width() + 2 * ShadowMargin, owner.height() + 2 * ShadowMargin);
    if (image.size() != size || image.format() != QImage::Format_ARGB32_Premultiplied)
        image = QImage(size, QImage::Format_ARGB32_Premultiplied);
    constexpr uint32_t Black = 0xFF000000u;
    constexpr uint32_t White = 0xFFFFFFFFu;
    image.fill(Black);
    // A single rectangle is no outline of its own: the window's plain
    // rectangle is used instead.
    const QRegion silhouette = outline.rectCount() > 1
        ? outline.translated(ShadowMargin, ShadowMargin)
        : QRegion(QRect(QPoint(ShadowMargin, ShadowMargin), owner));
    FillOutline(image, silhouette, White);
    BlurPass(image, 1);
    BlurPass(image, 2);
    BlurPass(image, 3);
    FillOutline(image, silhouette, Black);
}

void ColourShadow(QImage& image, const QColor& colour, bool recomputeAlpha) {
    const TAlphaTable& table = AlphaTable();
    const auto& red = table[static_cast<size_t>(colour.red())];
    const auto& green = table[static_cast<size_t>(colour.green())];
    const auto& blue = table[static_cast<size_t>(colour.blue())];
    for (int y = 0; y < image.height(); ++y) {
        auto* row = reinterpret_cast<uint32_t*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const uint32_t p = row[x];
            const uint32_t alpha = recomputeAlpha ? (p & 0xFFu) : (p >> 24);
            row[x] = (alpha << 24) | (uint32_t{red[alpha]} << 16) | (uint32_t{green[alpha]} << 8) |
                     uint32_t{blue[alpha]};
        }
    }
}

QColor ColourFromCode(uint32_t code) {
    if ((code & 0xFF000000u) == 0)
        return QColor(static_cast<int>(code & 0xFF), static_cast<int>((code >> 8) & 0xFF),
                      static_cast<int>((code >> 16) & 0xFF));
    if ((code & 0xFF000000u) != 0x80000000u)
        return QColor(Qt::black);
    // The system colours a design is likely to use, by their index.
    const QPalette palette = QApplication::palette();
    switch (code & 0xFFu) {
    case 5: return palette.color(QPalette::Base);             // window background
    case 6: return palette.color(QPalette::WindowText);       // window frame
    case 8: return palette.color(QPalette::WindowText);       // window text
    case 13: return palette.color(QPalette::Highlight);
    case 14: return palette.color(QPalette::HighlightedText);
    case 15: return palette.color(QPalette::Button);          // button face
    case 16: return palette.color(QPalette::Dark);            // button shadow
    case 18: return palette.color(QPalette::ButtonText);
    case 20: return palette.color(QPalette::Light);           // button highlight
    case 21: return palette.color(QPalette::Shadow);          // 3D dark shadow
    default: return QColor(Qt::black);
    }
}

} // namespace vivizu
