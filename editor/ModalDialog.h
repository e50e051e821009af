#pragma once
// What the small skinned dialogs share besides their buttons: Escape and
// the window manager's close are Cancel, Enter presses the focused button
// (else the dialog's default one), and each dialog is made once per owner
// and takes the chosen language before every showing.
#include "i18n/Language.h"
#include "platform/ProgramFolder.h"
#include "widgets/Form.h"

#include <memory>

class QAbstractButton;

namespace vivizu {

class TModalDialog : public TForm {
    Q_OBJECT

public:
    using TForm::TForm;

protected:
    // The button Enter presses when the focus is on no button.
    virtual QAbstractButton* DefaultButton() const = 0;

    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};

// The dialog of type T that belongs to owner, made on first use (one with
// no owner is held by unowned), with the chosen language applied.
template <class T>
T& OwnedDialog(QWidget* owner, std::unique_ptr<T>& unowned)
{
    T* dialog = owner ? owner->template findChild<T*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!dialog) {
        dialog = new T(owner);
        if (!owner)
            unowned.reset(dialog);
    }
    // Before every showing: a language chosen since the last one applies.
    if (CurrentLanguage != NoLanguageChosen)
        ApplyLanguageFile(*dialog, ProgramFolder() + LanguageFileName(CurrentLanguage));
    return *dialog;
}

} // namespace vivizu
