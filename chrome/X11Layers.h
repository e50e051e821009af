#pragma once
// What the window system offers a translucent companion window: whether it
// shows per-pixel alpha at all, and placing it directly below another
// top-level window.
class QWidget;
class QWindow;

namespace vivizu {

// True when translucent top-level windows show as such. On X11 that takes
// a compositing manager, which owns the screen's "_NET_WM_CM_S<n>"
// selection; without one a translucent window would show as an opaque
// block. Qt's offscreen platform keeps every pixel as drawn, so it counts
// as translucent. Any other window system (Wayland) cannot place a window
// of ours next to another one: false.
bool TranslucentWindowsAvailable(const QWidget& nearWindow);

// Puts window (an unmanaged top-level window) directly below the top-level
// X window that holds owner (the window manager's frame, when it has
// one). Does nothing outside X11 or before either window exists.
void StackBelow(QWindow& window, const QWidget& owner);

} // namespace vivizu
