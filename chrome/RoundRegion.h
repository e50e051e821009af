#pragma once
// The rounded outline of the program's borderless windows.
#include <QRect>
#include <QRegion>

class QWidget;

namespace vivizu {

// The outline of bounds with its left and top edges moved in by one pixel,
// its right column and bottom row left out, and its corners rounded with a
// 9 x 9 ellipse, row by row as the platform's rounded-rectangle region of
// (left + 1, top + 1, right, bottom) has it. For a W x H window at (0, 0):
// rows 0 and H-1 are empty; row 1 and row H-2 hold x in [4, W-4); rows 2, 3,
// H-4 and H-3 hold [2, W-2); every other row holds [1, W-1).
QRegion RoundRegion(const QRect& bounds);

// Gives window the outline RoundRegion(bounds) as its mask: only the pixels
// inside are drawn and receive the mouse, a click outside reaches what lies
// beneath. The window's drop shadow takes its outline from the same mask.
void ApplyRoundRegion(QWidget& window, const QRect& bounds);

} // namespace vivizu
