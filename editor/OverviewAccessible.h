#pragma once
// The overview band as a screen reader sees it. The band is painted, so Qt
// knows nothing of its content; this interface names it (its accessible
// name, from the language file), says the selection and the shown stretch
// in words as its description (TOverviewSpeech), and offers the play
// position, in ms, as its value.
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>

namespace vivizu {

class TOverviewBand;
class TOverviewSpeech;

class TOverviewAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit TOverviewAccessible(TOverviewBand* band);

    QString text(QAccessible::Text t) const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QVariant currentValue() const override;
    // The position is the position bar's to set; a reader cannot move it here.
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override;

private:
    TOverviewBand* Band() const;
    const TOverviewSpeech* Speech() const;
};

// Makes Qt use TOverviewAccessible for every overview band. Safe to call
// more than once.
void InstallOverviewAccessible();

} // namespace vivizu
