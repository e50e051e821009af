#include "chrome/CaptionDrag.h"

#include "widgets/Label.h"

#include <QWidget>
#include <QWindow>

namespace vivizu {

TCaptionDrag::TCaptionDrag(TLabel* strip, QWidget* window)
    : QObject(strip), FStrip(strip), FWindow(window) {
    connect(strip, &TLabel::MouseMove, this,
            [this](Qt::KeyboardModifiers, int x, int y) { Follow(x, y); });
    connect(strip, &TLabel::MouseUp, this,
            [this](Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
                Follow(x, y);
                End();
            });
}

void TCaptionDrag::Begin(Qt::MouseButton button, int x, int y) {
    if (button == Qt::NoButton || !FStrip || !FWindow)
        return;
    // The window system's move follows the left button only; a move with
    // another button is always done by hand.
    QWindow* handle = FWindow->window()->windowHandle();
    if (button == Qt::LeftButton && handle && handle->startSystemMove())
        return;
    FByHand = true;
    FGrabOffset = FStrip->mapToGlobal(QPoint(x, y)) - FWindow->window()->pos();
}

void TCaptionDrag::Follow(int x, int y) {
    if (!FByHand || !FStrip || !FWindow)
        return;
    FWindow->window()->move(FStrip->mapToGlobal(QPoint(x, y)) - FGrabOffset);
}

void TCaptionDrag::End() { FByHand = false; }

} // namespace vivizu
