#pragma once
// Something said to screen readers without moving the focus: a notice such
// as "Saved as NAME" that the eye reads in a status line. Each Announce
// shows a new invisible notification (no size, nothing drawn) whose name
// is the text; screen readers speak a notification when it appears, as
// they do the desktop's own. A new one each time, because a reader that
// met the last one keeps its old name.
#include <QPointer>
#include <QWidget>

namespace vivizu {

// The notification itself.
class TNotice : public QWidget {
    Q_OBJECT
public:
    TNotice(QWidget* window, const QString& text);
};

class TAnnouncer : public QObject {
    Q_OBJECT
public:
    // Notices appear in window.
    explicit TAnnouncer(QWidget* window);

    void Announce(const QString& text);
    // Takes the notice shown away.
    void Hide();
    // The notice shown; null when none is.
    TNotice* Notice() const { return FNotice; }
    // Its text; empty when none is shown.
    QString Said() const { return FNotice ? FNotice->accessibleName() : QString(); }

private:
    QWidget* FWindow;
    QPointer<TNotice> FNotice;
};

} // namespace vivizu
