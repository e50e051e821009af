#pragma once
// The play-from dialog: asks where a preview starts (the start tag, the end
// tag or the position bar's place), or for the result of a save to be
// played instead. One instance per owner window, created
// on first use and kept, so it reopens with the last choice.
#include "editor/ModalDialog.h"

#include <QString>
#include <functional>
#include <memory>

namespace vivizu {

class TFormShadow;
class TImage;
class TRadioButton;
class TGlyphButton;
class TPictureButton;

class TFrmPlayMsg : public TModalDialog {
    Q_OBJECT

public:
    explicit TFrmPlayMsg(QWidget* owner = nullptr);
    ~TFrmPlayMsg() override;

    TImage* FS = nullptr;                 // background picture, also the outline
    TImage* Image1 = nullptr;             // start marker picture
    TImage* Image2 = nullptr;             // end marker picture
    TImage* Image3 = nullptr;             // current position picture
    TRadioButton* RadioButton1 = nullptr; // "Play from Start Tag"
    TRadioButton* RadioButton2 = nullptr; // "Play from End Tag"
    TRadioButton* RadioButton3 = nullptr; // "Play from Current"
    TRadioButton* RadioButton4 = nullptr; // "Play the result"
    TGlyphButton* BtnOk = nullptr;        // default button (Enter)
    TGlyphButton* BtnCancel = nullptr;    // cancel button (Escape)
    TPictureButton* BtnSysClose = nullptr;

    // 0 start tag, 1 end tag, 2 current position, 3 the result, -1 none
    // checked.
    int GetChoice() const;

    // Shown modally (ShowModal), centred on its owner, the dialog ends with
    // mrOk through OK or Enter and with mrCancel through Cancel, Escape, the
    // close picture (this handler) or closing the window.
    void BtnSysCloseClick();

    // The dialog's drop shadow, made with the dialog and kept as long.
    TFormShadow* Shadow() const { return FShadow.get(); }

protected:
    void FormCreate() override;
    void ModalShown() override;
    QAbstractButton* DefaultButton() const override;

private:
    std::unique_ptr<TFormShadow> FShadow;
};

// Shows owner's play-from dialog (making it on first use) with the texts of
// the current language and returns the choice, or -1 unless ended with OK.
int ShowPlayMsg(QWidget* owner);

// Test seam: while set, ShowPlayMsg asks the hook for the modal result
// instead of showing the dialog; the hook may check radio buttons.
using TPlayMsgHook = std::function<int(TFrmPlayMsg& dialog)>;
void SetPlayMsgHook(TPlayMsgHook hook);

} // namespace vivizu
