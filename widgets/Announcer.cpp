#include "widgets/Announcer.h"

#include <QAccessibleWidget>
#include <mutex>

namespace vivizu {

namespace {

QAccessibleInterface* NoticeFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(TNotice::staticMetaObject.className()))
        if (auto* notice = qobject_cast<TNotice*>(object))
            return new QAccessibleWidget(notice, QAccessible::Notification);
    return nullptr;
}

} // namespace

TNotice::TNotice(QWidget* window, const QString& text) : QWidget(window) {
    static std::once_flag installed;
    std::call_once(installed, [] { QAccessible::installFactory(NoticeFactory); });
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(0, 0, 0, 0);
    setAccessibleName(text);
}

TAnnouncer::TAnnouncer(QWidget* window) : QObject(window), FWindow(window) {}

void TAnnouncer::Announce(const QString& text) {
    Hide();
    FNotice = new TNotice(FWindow, text);
    FNotice->show();
}

void TAnnouncer::Hide() { delete FNotice.data(); }

} // namespace vivizu
