#include "editor/SplitDialog.h"

#include "chrome/FormShadow.h"
#include "chrome/RoundRegion.h"
#include "editor/BackgroundRuns.h"
#include "editor/DialogButtons.h"
#include "i18n/Language.h"
#include "i18n/LanguageFile.h"
#include "platform/ProgramFolder.h"
#include "widgets/GlyphButton.h"
#include "widgets/Image.h"
#include "widgets/Label.h"
#include "widgets/PictureButton.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QPointer>
#include <QScopeGuard>

namespace vivizu {
namespace {

// The two rows 25 pixels apart from 12 below the caption strip, the count a
// row lower, the buttons in the middle below the separator: the volume
// dialog's arrangement.
constexpr int RowTop(int row) { return TFrmSplit::CaptionStripBottom + 12 + 25 * row; }
constexpr int ButtonsTop = TFrmSplit::SeparatorTop + (TFrmSplit::DialogHeight - TFrmSplit::SeparatorTop - 23) / 2;
static_assert(RowTop(2) + 17 < TFrmSplit::SeparatorTop, "the rows stay above the separator");

QDoubleSpinBox* Spin(QWidget* parent, const char* name, int top, double low, double high, double step, int decimals)
{
    auto* spin = new QDoubleSpinBox(parent);
    spin->setObjectName(QLatin1String(name));
    spin->setGeometry(220, top, 90, 22);
    spin->setRange(low, high);
    spin->setSingleStep(step);
    spin->setDecimals(decimals);
    return spin;
}

TSplitDialogHook& Hook()
{
    static TSplitDialogHook hook;
    return hook;
}

} // namespace

void SetSplitDialogHook(TSplitDialogHook hook) { Hook() = std::move(hook); }

TFrmSplit::TFrmSplit(QWidget* owner) : TModalDialog(owner), FRuns(std::make_unique<TBackgroundRuns>())
{
    setObjectName(QStringLiteral("FrmSplit"));
    SetCaption(QStringLiteral("Vivizu"));
    SetClientSize(340, DialogHeight);

    // The skin, and the title beside the strip's sign.
    const TDialogSkin skin = MakeDialogSkin(this, DialogHeight, CaptionStripBottom, QStringLiteral("Split at silences"));
    FS = skin.Skin;
    LabelTitle = skin.Title;
    LabelThreshold = MakeControl<TLabel>(this, "LabelThreshold", 30, RowTop(0) + 2, 185, 17);
    LabelThreshold->SetCaption(QStringLiteral("Silence below (dBFS):"));
    LabelMinPause = MakeControl<TLabel>(this, "LabelMinPause", 30, RowTop(1) + 2, 185, 17);
    LabelMinPause->SetCaption(QStringLiteral("Shortest pause (seconds):"));
    LabelPieces = MakeControl<TLabel>(this, "LabelPieces", 30, RowTop(2) + 6, 185, 17);
    LabelPieces->SetCaption(QStringLiteral("Pieces:"));
    LabelPiecesValue = MakeControl<TLabel>(this, "LabelPiecesValue", 222, RowTop(2) + 6, 90, 17);
    LabelPiecesValue->SetBold(true);
    for (TLabel* label : {LabelTitle, LabelThreshold, LabelMinPause, LabelPieces, LabelPiecesValue})
        label->SetTransparent(true);

    // The companion's ranges: a threshold from -120 to 0 dBFS, a pause
    // longer than nothing.
    SpinThreshold = Spin(this, "SpinThreshold", RowTop(0), -120.0, 0.0, 1.0, 1);
    SpinMinPause = Spin(this, "SpinMinPause", RowTop(1), 0.01, 600.0, 0.1, 2);
    SpinThreshold->setAccessibleName(QStringLiteral("Silence below (dBFS)"));
    SpinMinPause->setAccessibleName(QStringLiteral("Shortest pause (seconds)"));
    LabelPiecesValue->setAccessibleName(QStringLiteral("Pieces"));
    SetOptions(TSilenceOptions{});
    // Every step of a box counts again: a count is a pass over the kept
    // levels, done in a moment even for hours.
    connect(SpinThreshold, &QDoubleSpinBox::valueChanged, this, &TFrmSplit::Count);
    connect(SpinMinPause, &QDoubleSpinBox::valueChanged, this, &TFrmSplit::Count);

    const TDialogButtons buttons = MakeDialogButtons(this, ButtonsTop);
    BtnOk = buttons.Ok;
    BtnCancel = buttons.Cancel;
    BtnSysClose = buttons.Close;
    setTabOrder(SpinThreshold, SpinMinPause);
    setTabOrder(SpinMinPause, BtnOk);
    setTabOrder(BtnOk, BtnCancel);

    connect(BtnOk, &TGlyphButton::Click, this, [this] { SetModalResult(mrOk); });
    connect(BtnCancel, &TGlyphButton::Click, this, [this] { SetModalResult(mrCancel); });
    connect(BtnSysClose, &TPictureButton::Click, this, [this] { SetModalResult(mrCancel); });
    Create();
}

TFrmSplit::~TFrmSplit() = default;

void TFrmSplit::SetOptions(const TSilenceOptions& options)
{
    SpinThreshold->setValue(options.ThresholdDb);
    SpinMinPause->setValue(options.MinLengthSeconds);
}

TSilenceOptions TFrmSplit::Options() const
{
    TSilenceOptions options;
    options.ThresholdDb = SpinThreshold->value();
    options.MinLengthSeconds = SpinMinPause->value();
    return options;
}

void TFrmSplit::Start(TSplitSource source)
{
    Stop();
    FSource = std::move(source);
    FLevels.reset();
    FCount.reset();
    ShowCount(QStringLiteral("\u2026"));
    QPointer<TFrmSplit> self(this);
    FRuns->Start([self, name = FSource.FileName, index = FSource.Index](const std::atomic<bool>& cancel,
                                                                        uint64_t generation) {
        auto levels = std::make_shared<TSilenceLevels>(DecodeSilenceLevels(name, index, &cancel));
        if (levels->Result.Status == TDecodeStatus::Cancelled || cancel)
            return;
        // The application object outlives the dialog; the pointer is read
        // on the window's thread only.
        QMetaObject::invokeMethod(QCoreApplication::instance(), [self, generation, levels] {
            if (self)
                self->Decoded(generation, levels);
        });
    });
}

// The levels go too: the dialog stays for its values, not for a stream.
void TFrmSplit::Stop()
{
    FRuns->Cancel();
    FLevels.reset();
}

bool TFrmSplit::Decoding() const { return FRuns->Running(); }

void TFrmSplit::Decoded(uint64_t generation, std::shared_ptr<TSilenceLevels> levels)
{
    if (!FRuns->Takes(generation))
        return;
    FLevels = std::move(levels);
    if (FLevels->Result.Status != TDecodeStatus::Done) {
        // The reason where the pointer rests on the dash; the split itself
        // reports it in full.
        LabelPiecesValue->setToolTip(QString::fromStdString(FLevels->Result.Message));
        ShowCount(QStringLiteral("\u2014"));
        return;
    }
    Count();
}

void TFrmSplit::Count()
{
    if (!FLevels || FLevels->Result.Status != TDecodeStatus::Done)
        return;
    const std::vector<TSilence> silences = SilencesOf(*FLevels, Options());
    FCount = SplitPieceCount(FSource.Index, silences, FLevels->SampleRate, FSource.Exact);
    ShowCount(QString::number(*FCount));
}

void TFrmSplit::ShowCount(const QString& text)
{
    LabelPiecesValue->SetCaption(text);
    LabelPiecesValue->setAccessibleDescription(text);
    emit Counted();
}

std::optional<TStreamSilences> TFrmSplit::Found() const
{
    if (!FLevels || FLevels->Result.Status != TDecodeStatus::Done)
        return std::nullopt;
    TStreamSilences found;
    found.Result = FLevels->Result;
    found.SampleRate = FLevels->SampleRate;
    found.Silences = SilencesOf(*FLevels, Options());
    return found;
}

void TFrmSplit::FormCreate()
{
    ApplyRoundRegion(*this, FS->geometry());
    FShadow = CreateFormShadow(*this);
}

void TFrmSplit::ModalShown()
{
    activateWindow();
    SpinThreshold->setFocus(Qt::OtherFocusReason);
}

QAbstractButton* TFrmSplit::DefaultButton() const { return BtnOk; }

bool ShowSplitDialog(QWidget* owner, TSplitChoices& choices, TSplitSource source)
{
    std::unique_ptr<TFrmSplit> unowned;
    TFrmSplit* dialog = &OwnedDialog(owner, unowned);
    dialog->Start(std::move(source));
    // Closed however: the decode is of no use any more, nor its levels.
    const auto stop = qScopeGuard([dialog] { dialog->Stop(); });
    const bool ok = Hook() ? Hook()(*dialog) : dialog->ShowModal() == mrOk;
    if (!ok)
        return false;
    choices.Silence = dialog->Options();
    choices.Found = dialog->Found();
    return true;
}

} // namespace vivizu
