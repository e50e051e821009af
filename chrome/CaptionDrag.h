#pragma once
// Moving a borderless window by its caption strip, with any mouse button.
// A left-button press asks the window system to move the window; where it
// refuses (a bare X server has no window manager to do it), and for the
// other buttons, the window follows the pointer by hand until the button
// is released.
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QWidget>

namespace vivizu {

class TLabel;

class TCaptionDrag : public QObject {
    Q_OBJECT
public:
    // strip: the caption strip (its moves and releases are followed);
    // window: the top-level window that moves.
    TCaptionDrag(TLabel* strip, QWidget* window);

    // Starts a move for a press of button at (x, y) in the strip.
    void Begin(Qt::MouseButton button, int x, int y);

private:
    void Follow(int x, int y);
    void End();

    QPointer<TLabel> FStrip;
    QPointer<QWidget> FWindow;
    QPoint FGrabOffset;  // pointer minus window position, in screen pixels
    bool FByHand = false;
};

} // namespace vivizu
