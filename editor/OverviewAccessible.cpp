#include "editor/OverviewAccessible.h"

#include "editor/OverviewBand.h"
#include "editor/OverviewSpeech.h"
#include "editor/TimeText.h"

namespace vivizu {

namespace {

QAccessibleInterface* OverviewFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(TOverviewBand::staticMetaObject.className()))
        if (auto* band = qobject_cast<TOverviewBand*>(object))
            return new TOverviewAccessible(band);
    return nullptr;
}

} // namespace

TOverviewAccessible::TOverviewAccessible(TOverviewBand* band)
    : QAccessibleWidget(band, QAccessible::Chart) {}

TOverviewBand* TOverviewAccessible::Band() const { return static_cast<TOverviewBand*>(widget()); }

const TOverviewSpeech* TOverviewAccessible::Speech() const {
    return Band()->findChild<TOverviewSpeech*>(QString(), Qt::FindDirectChildrenOnly);
}

QString TOverviewAccessible::text(QAccessible::Text t) const {
    switch (t) {
    case QAccessible::Name: {
        const QString name = Band()->accessibleName();
        return name.isEmpty() ? QStringLiteral("Overview") : name;
    }
    case QAccessible::Description:
        if (const TOverviewSpeech* speech = Speech())
            return speech->Words();
        return Band()->accessibleDescription();
    case QAccessible::Value:
        return ShortTimeText(Band()->Position());
    default:
        return QAccessibleWidget::text(t);
    }
}

void* TOverviewAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QVariant TOverviewAccessible::currentValue() const { return QVariant::fromValue(Band()->Position()); }

void TOverviewAccessible::setCurrentValue(const QVariant&) {}

QVariant TOverviewAccessible::maximumValue() const {
    const TOverviewSpeech* speech = Speech();
    return QVariant::fromValue(speech ? speech->StreamLength() : int64_t{0});
}

QVariant TOverviewAccessible::minimumValue() const { return QVariant::fromValue(int64_t{0}); }

QVariant TOverviewAccessible::minimumStepSize() const { return QVariant::fromValue(int64_t{1}); }

void InstallOverviewAccessible() { QAccessible::installFactory(OverviewFactory); }

} // namespace vivizu
