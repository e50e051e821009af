#include "editor/ModalDialog.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QCloseEvent>
#include <QKeyEvent>

namespace vivizu {

void TModalDialog::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape: SetModalResult(mrCancel); return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // A focused push button is pressed; on a field, a tick or a choice
        // Enter means the default button.
        if (auto* focused = qobject_cast<QPushButton*>(focusWidget()))
            focused->click();
        else if (QAbstractButton* fallback = DefaultButton())
            fallback->click();
        return;
    default: TForm::keyPressEvent(event);
    }
}

void TModalDialog::closeEvent(QCloseEvent* event)
{
    if (InModal()) {
        event->ignore();
        SetModalResult(mrCancel);
        return;
    }
    TForm::closeEvent(event);
}

} // namespace vivizu
