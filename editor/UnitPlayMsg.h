#pragma once
// The play-from dialog: asks where a preview starts (the start tag, the end
// tag or the position bar's place). One instance per owner window, created
// on first use and kept, so it reopens with the last choice.
#include "widgets/Form.h"

#include <QString>
#include <functional>
#include <memory>

class QEventLoop;

namespace vivizu {

class TFormShadow;
class TImage;
class TRadioButton;
class TGlyphButton;
class TPictureButton;

class TFrmPlayMsg : public TForm {
    Q_OBJECT

public:
    // Modal results of the dialog's buttons.
    static constexpr int mrNone = 0;
    static constexpr int mrOk = 1;
    static constexpr int mrCancel = 2;

    explicit TFrmPlayMsg(QWidget* owner = nullptr);
    ~TFrmPlayMsg() override;

    TImage* FS = nullptr;                 // background picture, also the outline
    TImage* Image1 = nullptr;             // start marker picture
    TImage* Image2 = nullptr;             // end marker picture
    TImage* Image3 = nullptr;             // current position picture
    TRadioButton* RadioButton1 = nullptr; // "Play from Start Tag"
    TRadioButton* RadioButton2 = nullptr; // "Play from End Tag"
    TRadioButton* RadioButton3 = nullptr; // "Play from Current"
    TGlyphButton* BtnOk = nullptr;        // default button (Enter)
    TGlyphButton* BtnCancel = nullptr;    // cancel button (Escape)
    TPictureButton* BtnSysClose = nullptr;

    // Shows the dialog over its owner and waits until a button, Escape or
    // closing the window ends it; returns the modal result (mrOk, mrCancel).
    int ShowModal();
    int ModalResult() const { return FModalResult; }
    // Ends a modal showing with result.
    void SetModalResult(int result);

    // 0 start tag, 1 end tag, 2 current position, -1 none checked.
    int GetChoice() const;

    void BtnSysCloseClick();

    // The dialog's drop shadow, made with the dialog and kept as long.
    TFormShadow* Shadow() const { return FShadow.get(); }

protected:
    void FormCreate() override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CentreOnOwner();

    int FModalResult = mrNone;
    QEventLoop* FLoop = nullptr;
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
