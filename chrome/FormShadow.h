#pragma once
// The drop-shadow companion of a borderless window. For now it keeps its
// settings only; no shadow is drawn yet.
#include <QColor>
#include <QObject>
#include <QPointer>
#include <QWidget>

namespace vivizu {

class TFormShadow : public QObject {
    Q_OBJECT
public:
    explicit TFormShadow(QObject* owner = nullptr) : QObject(owner) {}

    // Attaches the shadow to the window it follows.
    void SetOwnerForm(QWidget* form) { FOwnerForm = form; }
    QWidget* OwnerForm() const { return FOwnerForm; }
    // Shown with its window, hidden with it.
    void SetShadowVisible(bool visible) { FVisible = visible; }
    bool ShadowVisible() const { return FVisible; }
    void SetShadowColor(const QColor& color) { FColor = color; }
    QColor ShadowColor() const { return FColor; }

private:
    QPointer<QWidget> FOwnerForm;
    QColor FColor = Qt::black;
    bool FVisible = false;
};

} // namespace vivizu
