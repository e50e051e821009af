#include "chrome/RoundRegion.h"

#include <QWidget>
#include <algorithm>

namespace vivizu {

QRegion RoundRegion(const QRect& bounds) {
    // The region's own rectangle: one pixel in from the left and top edges,
    // ending before the right column and the bottom row.
    const int left = bounds.left() + 1;
    const int top = bounds.top() + 1;
    const int right = bounds.left() + bounds.width() - 1;    // exclusive
    const int bottom = bounds.top() + bounds.height() - 1;   // exclusive
    if (right <= left || bottom <= top)
        return QRegion();

    // How far each of the first rows (and, mirrored, the last rows) is cut
    // in at both ends by the 9 x 9 corner ellipse.
    static constexpr int CornerInset[] = {3, 1, 1};
    QRegion region;
    int y = top;
    while (y < bottom) {
        const int fromTop = y - top;
        const int fromBottom = bottom - 1 - y;
        const int edge = std::min(fromTop, fromBottom);
        const int inset = edge < 3 ? CornerInset[edge] : 0;
        // A run of rows with the same inset becomes one rectangle.
        int end = y + 1;
        if (edge >= 3)
            end = bottom - 3;
        end = std::max(end, y + 1);
        if (left + inset < right - inset)
            region += QRect(left + inset, y, right - left - 2 * inset, end - y);
        y = end;
    }
    return region;
}

void ApplyRoundRegion(QWidget& window, const QRect& bounds) {
    window.setMask(RoundRegion(bounds));
}

} // namespace vivizu
