#include "editor/UnitPlayMsg.h"

#include "editor/DialogButtons.h"
#include "chrome/FormShadow.h"
#include "chrome/RoundRegion.h"
#include "i18n/Language.h"
#include "platform/ProgramFolder.h"
#include "resources/Resources.h"
#include "widgets/GlyphButton.h"
#include "widgets/Image.h"
#include "widgets/PictureButton.h"
#include "widgets/RadioButton.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QKeyEvent>
#include <utility>

namespace vivizu {

namespace {

TPlayMsgHook& Hook() {
    static TPlayMsgHook hook;
    return hook;
}

} // namespace

TFrmPlayMsg::TFrmPlayMsg(QWidget* owner) : TModalDialog(owner) {
    setObjectName(QStringLiteral("FrmPlayMsg"));
    SetCaption(QStringLiteral("Vivizu"));
    SetClientSize(340, 204);

    FS = MakeControl<TImage>(this, "FS", 0, 0, 340, 204);
    FS->SetPicture(DialogArt("dialog-skin"));
    FS->SetStretch(true);
    Image1 = MakeControl<TImage>(this, "Image1", 70, 52, 16, 16);
    Image1->SetTransparent(true);
    Image2 = MakeControl<TImage>(this, "Image2", 70, 76, 16, 16);
    Image2->SetTransparent(true);
    Image3 = MakeControl<TImage>(this, "Image3", 70, 100, 16, 16);
    Image3->SetTransparent(true);
    Image3->SetPicture(DialogArt("marker-current"));

    RadioButton1 = MakeControl<TRadioButton>(this, "RadioButton1", 92, 52, 241, 17);
    RadioButton1->SetCaption(QStringLiteral("Play from Start Tag"));
    RadioButton1->SetChecked(true);
    RadioButton2 = MakeControl<TRadioButton>(this, "RadioButton2", 92, 76, 241, 17);
    RadioButton2->SetCaption(QStringLiteral("Play from End Tag"));
    RadioButton3 = MakeControl<TRadioButton>(this, "RadioButton3", 92, 100, 241, 17);
    RadioButton3->SetCaption(QStringLiteral("Play from Current"));
    // The fourth row: what Save As would write, played from its start.
    RadioButton4 = MakeControl<TRadioButton>(this, "RadioButton4", 92, 124, 241, 17);
    RadioButton4->SetCaption(QStringLiteral("Play the result"));

    const TDialogButtons buttons = MakeDialogButtons(this, 165);
    BtnOk = buttons.Ok;
    BtnCancel = buttons.Cancel;
    BtnSysClose = buttons.Close;

    setTabOrder(RadioButton1, RadioButton2);
    setTabOrder(RadioButton2, RadioButton3);
    setTabOrder(RadioButton3, RadioButton4);
    setTabOrder(RadioButton4, BtnOk);
    setTabOrder(BtnOk, BtnCancel);

    connect(BtnOk, &TGlyphButton::Click, this, [this] { SetModalResult(mrOk); });
    connect(BtnCancel, &TGlyphButton::Click, this, [this] { SetModalResult(mrCancel); });
    connect(BtnSysClose, &TPictureButton::Click, this, &TFrmPlayMsg::BtnSysCloseClick);
    Create();
}

TFrmPlayMsg::~TFrmPlayMsg() = default;

// Outline, marker pictures, shadow. A marker picture that cannot be read
// leaves its image empty (and the second unread after a failed first): the
// dialog works without them.
void TFrmPlayMsg::FormCreate() {
    ApplyRoundRegion(*this, FS->geometry());
    const QString folder = QFile::decodeName(QByteArray::fromStdString(ProgramFolder()));
    try {
        Image1->LoadFromFile(folder + QStringLiteral("MarkStart.bmp"));
        Image2->LoadFromFile(folder + QStringLiteral("MarkEnd.bmp"));
    } catch (const std::exception&) {
    }
    FShadow = CreateFormShadow(*this);
}

int TFrmPlayMsg::GetChoice() const {
    if (RadioButton1->Checked())
        return 0;
    if (RadioButton2->Checked())
        return 1;
    if (RadioButton3->Checked())
        return 2;
    if (RadioButton4->Checked())
        return 3;
    return -1;
}

// Focus starts on the checked choice, as the keyboard user expects.
void TFrmPlayMsg::ModalShown() {
    activateWindow();
    for (TRadioButton* radio : {RadioButton1, RadioButton2, RadioButton3, RadioButton4})
        if (radio->Checked())
            radio->setFocus(Qt::OtherFocusReason);
}

QAbstractButton* TFrmPlayMsg::DefaultButton() const { return BtnOk; }

// The close picture ends the dialog as Cancel does.
void TFrmPlayMsg::BtnSysCloseClick() { SetModalResult(mrCancel); }

void SetPlayMsgHook(TPlayMsgHook hook) { Hook() = std::move(hook); }

int ShowPlayMsg(QWidget* owner) {
    std::unique_ptr<TFrmPlayMsg> unowned;
    TFrmPlayMsg* dialog = &OwnedDialog(owner, unowned);
    const int result = Hook() ? Hook()(*dialog) : dialog->ShowModal();
    return result == mrOk ? dialog->GetChoice() : -1;
}

} // namespace vivizu
