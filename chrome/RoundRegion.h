#pragma once
// The rounded outline of the program's borderless windows.
#include <QRect>

class QWidget;

namespace vivizu {

// Gives window the outline of bounds with its left and top edges moved in
// by one pixel and its corners rounded with a 9 x 9 ellipse. For now the
// windows keep their plain rectangle.
void ApplyRoundRegion(QWidget& window, const QRect& bounds);

} // namespace vivizu
