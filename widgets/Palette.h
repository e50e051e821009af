#pragma once
// The colours the controls share: the accent of frames, flat borders, tabs
// and the position bar, and how a control's own colour looks while the
// control is disabled.
#include <QColor>

namespace vivizu {

// Red 50, green 152, blue 204.
inline QColor AccentColor() { return QColor(50, 152, 204); }

// A disabled control keeps its colour, recognisable but see-through, so it
// fades towards what lies behind it.
inline constexpr int DisabledAlpha = 110;
inline QColor Dimmed(QColor color) {
    color.setAlpha(DisabledAlpha);
    return color;
}

} // namespace vivizu
