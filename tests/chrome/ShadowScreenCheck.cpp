// Checks a screenshot of the main window and its shadow against the
// shadow's own pixels, composited over a grey root of 128.
// Usage: shadow_screen_check SHOT.png LEFT TOP
//   LEFT, TOP: the main window's position on the screen.
// Checked: the column through the middle of the window, from 16 pixels
// above it to 16 below, wherever the window's outline leaves the pixel to
// the shadow; and every pixel of the window's rectangle outside its outline
// (the corners, the top row, the left column, ...). Each must be the
// shadow's premultiplied colour plus the root's grey times (255 - alpha) /
// 255, rounded as the X server's Render extension does.
#include "chrome/RoundRegion.h"
#include "chrome/ShadowImage.h"

#include <QImage>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

using namespace vivizu;

namespace {

constexpr int Root = 128;

// x * a / 255 rounded the way pixman's MUL_UN8 does it.
int Multiply(int x, int a) {
    const int t = x * a + 0x80;
    return (t + (t >> 8)) >> 8;
}

QRgb OverRoot(QRgb shadow) {
    const int a = qAlpha(shadow);
    auto channel = [&](int c) { return std::min(255, c + Multiply(Root, 255 - a)); };
    return qRgb(channel(qRed(shadow)), channel(qGreen(shadow)), channel(qBlue(shadow)));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s SHOT.png LEFT TOP\n", argv[0]);
        return 2;
    }
    const QImage shot = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
    const int left = std::atoi(argv[2]);
    const int top = std::atoi(argv[3]);
    if (shot.isNull()) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 2;
    }
    const QSize owner(592, 452);
    const QRegion outline = RoundRegion(QRect(QPoint(0, 0), owner));
    QImage shadow;
    DrawShadowIntensity(shadow, owner, outline);
    ColourShadow(shadow, ColourFromCode(10582346), true);

    int checked = 0, wrong = 0, glowing = 0;
    auto check = [&](int x, int y, const char* where) {  // x, y in the window
        const QPoint screen(left + x, top + y);
        if (!shot.rect().contains(screen))
            return;
        const QRgb want = OverRoot(shadow.pixel(x + ShadowMargin, y + ShadowMargin));
        const QRgb got = shot.pixel(screen);
        ++checked;
        glowing += qAlpha(shadow.pixel(x + ShadowMargin, y + ShadowMargin)) > 0;
        if ((got & 0xFFFFFF) != (want & 0xFFFFFF)) {
            if (++wrong <= 12)
                std::fprintf(stderr, "%s (%d, %d): screen %06X, expected %06X\n", where, x, y,
                             got & 0xFFFFFFu, want & 0xFFFFFFu);
        }
    };
    const int mid = owner.width() / 2;
    for (int y = -ShadowMargin; y < owner.height() + ShadowMargin; ++y)
        if (!outline.contains(QPoint(mid, y)))
            check(mid, y, "middle column");
    for (int y = 0; y < owner.height(); ++y)
        for (int x = 0; x < owner.width(); ++x)
            if (!outline.contains(QPoint(x, y)))
                check(x, y, "outside the outline");
    std::printf("shadow_screen_check: %d pixels checked (%d with glow), %d differ\n", checked,
                glowing, wrong);
    return wrong == 0 && glowing > 100 ? 0 : 1;
}
