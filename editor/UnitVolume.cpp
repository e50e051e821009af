#include "editor/UnitVolume.h"

#include "editor/DialogButtons.h"
#include "chrome/FormShadow.h"
#include "editor/LoudnessJob.h"
#include "editor/Selection.h"
#include "chrome/RoundRegion.h"
#include "engine/cut/GainPlan.h"
#include "i18n/Language.h"
#include "platform/ProgramFolder.h"
#include "resources/Resources.h"
#include "widgets/CheckBox.h"
#include "widgets/GlyphButton.h"
#include "widgets/Image.h"
#include "widgets/Label.h"
#include "widgets/PictureButton.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDoubleSpinBox>
#include <QKeyEvent>
#include <QScopeGuard>
#include <algorithm>
#include <cmath>

namespace vivizu {
namespace {

QDoubleSpinBox* Spin(QWidget* parent, const char* name, int top, double low, double high, double step)
{
    auto* spin = new QDoubleSpinBox(parent);
    spin->setObjectName(QLatin1String(name));
    spin->setGeometry(220, top, 90, 22);
    spin->setRange(low, high);
    spin->setSingleStep(step);
    spin->setDecimals(1);
    spin->setKeyboardTracking(false);
    return spin;
}

// The settings' rows, 25 pixels apart from 10 below the caption strip (the
// boxes' tops; their labels stand 2 lower), and the loudness line just
// above the separator: one row, or its caption a row higher and the value
// below it where the two do not fit side by side. The buttons stand in the
// middle below the separator.
constexpr int RowTop(int row) { return TFrmVolume::CaptionStripBottom + 10 + 25 * row; }
constexpr int LoudnessTop = TFrmVolume::SeparatorTop - 22;
constexpr int LoudnessTwoRowsTop = LoudnessTop - 18;
constexpr int ValueRight = 318;
constexpr int ButtonsTop = TFrmVolume::SeparatorTop + (TFrmVolume::DialogHeight - TFrmVolume::SeparatorTop - 23) / 2;
static_assert(RowTop(3) + 22 < LoudnessTwoRowsTop, "the rows stay above the loudness line");

} // namespace

TFrmVolume::TFrmVolume(QWidget* owner) : TModalDialog(owner)
{
    setObjectName(QStringLiteral("FrmVolume"));
    SetCaption(QStringLiteral("Vivizu"));
    SetClientSize(340, DialogHeight);

    // The skin, and the title beside the strip's sign.
    const TDialogSkin skin = MakeDialogSkin(this, DialogHeight, CaptionStripBottom, QStringLiteral("Volume"));
    FS = skin.Skin;
    LabelTitle = skin.Title;

    LabelGain = MakeControl<TLabel>(this, "LabelGain", 30, RowTop(0) + 2, 185, 17);
    LabelGain->SetCaption(QStringLiteral("Gain (dB):"));
    LabelFadeIn = MakeControl<TLabel>(this, "LabelFadeIn", 30, RowTop(1) + 2, 185, 17);
    LabelFadeIn->SetCaption(QStringLiteral("Fade in (seconds):"));
    LabelFadeOut = MakeControl<TLabel>(this, "LabelFadeOut", 30, RowTop(2) + 2, 185, 17);
    LabelFadeOut->SetCaption(QStringLiteral("Fade out (seconds):"));
    CheckNormalize = MakeControl<TCheckBox>(this, "CheckNormalize", 30, RowTop(3) + 2, 185, 17);
    CheckNormalize->SetCaption(QStringLiteral("Normalise to (LUFS):"));
    LabelLoudness = MakeControl<TLabel>(this, "LabelLoudness", 30, LoudnessTop, 185, 17);
    LabelLoudness->SetCaption(QStringLiteral("Selection loudness:"));
    LabelLoudness->SetAutoSize(true);
    LabelLoudnessValue = MakeControl<TLabel>(this, "LabelLoudnessValue", 220, LoudnessTop, 110, 17);
    for (TLabel* label : {LabelTitle, LabelGain, LabelFadeIn, LabelFadeOut, LabelLoudness, LabelLoudnessValue})
        label->SetTransparent(true);
    LabelLoudness->setVisible(false);
    LabelLoudnessValue->setVisible(false);
    FJob = new TLoudnessJob(this);
    connect(FJob, &TLoudnessJob::Finished, this, &TFrmVolume::ShowLoudness);

    // Gain in whole steps of global_gain: the box's values are the steps.
    SpinGain = Spin(this, "SpinGain", RowTop(0), -TVolumeChoices::MaxGainDb, TVolumeChoices::MaxGainDb, GainStepDb);
    SpinFadeIn = Spin(this, "SpinFadeIn", RowTop(1), 0, TVolumeChoices::MaxFadeMs / 1000.0, 0.5);
    SpinFadeOut = Spin(this, "SpinFadeOut", RowTop(2), 0, TVolumeChoices::MaxFadeMs / 1000.0, 0.5);
    SpinTarget = Spin(this, "SpinTarget", RowTop(3), TVolumeChoices::MinTargetLufs, TVolumeChoices::MaxTargetLufs, 1.0);
    // A gain typed between steps snaps to the nearest one.
    connect(SpinGain, &QDoubleSpinBox::editingFinished, this,
            [this] { SpinGain->setValue(GainStepsForDb(SpinGain->value()) * GainStepDb); });
    connect(CheckNormalize, &QCheckBox::toggled, SpinTarget, &QWidget::setEnabled);

    const TDialogButtons buttons = MakeDialogButtons(this, ButtonsTop);
    BtnOk = buttons.Ok;
    BtnCancel = buttons.Cancel;
    BtnSysClose = buttons.Close;

    setTabOrder(SpinGain, SpinFadeIn);
    setTabOrder(SpinFadeIn, SpinFadeOut);
    setTabOrder(SpinFadeOut, CheckNormalize);
    setTabOrder(CheckNormalize, SpinTarget);
    setTabOrder(SpinTarget, BtnOk);
    setTabOrder(BtnOk, BtnCancel);

    connect(BtnOk, &TGlyphButton::Click, this, [this] { SetModalResult(mrOk); });
    connect(BtnCancel, &TGlyphButton::Click, this, [this] { SetModalResult(mrCancel); });
    connect(BtnSysClose, &TPictureButton::Click, this, [this] { SetModalResult(mrCancel); });
    Create();
}

TFrmVolume::~TFrmVolume() = default;

QString LoudnessText(const TLoudnessResult& measured)
{
    if (measured.Result.Status != TDecodeStatus::Done)
        return QStringLiteral("\u2014");
    const auto number = [](double value) {
        return std::isfinite(value) ? QString::number(value, 'f', 1) : QStringLiteral("-\u221e");
    };
    return QStringLiteral("%1 LUFS, %2 dBTP")
        .arg(number(measured.Loudness.IntegratedLufs), number(measured.Loudness.TruePeakDbtp));
}

void TFrmVolume::StartMeasuring(TVolumeMeasure measure)
{
    StopMeasuring();
    FMeasure = std::move(measure);
    const bool shown = static_cast<bool>(FMeasure.Frames);
    LabelLoudness->setVisible(shown);
    LabelLoudnessValue->setVisible(shown);
    if (!shown)
        return;
    if (FMeasure.Selection) {
        // Either end moved, or another stream: measured anew.
        const auto again = [this] { Measure(); };
        FSelectionLinks.push_back(connect(FMeasure.Selection, &TSelection::StartChanged, this, again));
        FSelectionLinks.push_back(connect(FMeasure.Selection, &TSelection::EndChanged, this, again));
        FSelectionLinks.push_back(connect(FMeasure.Selection, &TSelection::StreamChanged, this, again));
    }
    Measure();
}

void TFrmVolume::StopMeasuring()
{
    for (const QMetaObject::Connection& link : FSelectionLinks)
        disconnect(link);
    FSelectionLinks.clear();
    FJob->Cancel();
    FMeasure = {};
}

bool TFrmVolume::Measuring() const { return FJob->Running(); }

// The frames are taken here, on the window's thread; only the decode runs
// on the others.
void TFrmVolume::Measure()
{
    LabelLoudnessValue->SetCaption(QStringLiteral("\u2026"));
    LabelLoudnessValue->setToolTip(QString());
    PlaceLoudnessValue();
    FJob->Start(FMeasure.Frames());
}

void TFrmVolume::ShowLoudness(const TLoudnessResult& measured)
{
    LabelLoudnessValue->SetCaption(LoudnessText(measured));
    // A failure's reason where the pointer rests on the dash.
    LabelLoudnessValue->setToolTip(measured.Result.Status == TDecodeStatus::Done
                                       ? QString()
                                       : QString::fromStdString(measured.Result.Message));
    PlaceLoudnessValue();
}

void TFrmVolume::PlaceLoudnessValue()
{
    LabelLoudness->adjustSize();
    const int left = LabelLoudness->geometry().right() + 8;
    const int needed = LabelLoudnessValue->fontMetrics().horizontalAdvance(LabelLoudnessValue->Caption());
    if (left + needed <= ValueRight) {
        LabelLoudness->move(LabelLoudness->x(), LoudnessTop);
        LabelLoudnessValue->setGeometry(left, LoudnessTop, ValueRight - left, 17);
        return;
    }
    LabelLoudness->move(LabelLoudness->x(), LoudnessTwoRowsTop);
    const int indented = LabelLoudness->x() + 12;
    LabelLoudnessValue->setGeometry(indented, LoudnessTop, ValueRight - indented, 17);
}

void TFrmVolume::FormCreate()
{
    ApplyRoundRegion(*this, FS->geometry());
    FShadow = CreateFormShadow(*this);
}

void TFrmVolume::SetChoices(const TVolumeChoices& choices)
{
    SpinGain->setValue(choices.GainDb);
    SpinFadeIn->setValue(choices.FadeInMs / 1000.0);
    SpinFadeOut->setValue(choices.FadeOutMs / 1000.0);
    CheckNormalize->SetChecked(choices.Normalize);
    SpinTarget->setValue(choices.TargetLufs);
    SpinTarget->setEnabled(choices.Normalize);
}

TVolumeChoices TFrmVolume::Choices() const
{
    TVolumeChoices c;
    c.GainDb = GainStepsForDb(SpinGain->value()) * GainStepDb;
    c.FadeInMs = static_cast<int32_t>(std::lround(SpinFadeIn->value() * 1000));
    c.FadeOutMs = static_cast<int32_t>(std::lround(SpinFadeOut->value() * 1000));
    c.Normalize = CheckNormalize->Checked();
    c.TargetLufs = SpinTarget->value();
    return c;
}

void TFrmVolume::ModalShown()
{
    activateWindow();
    SpinGain->setFocus(Qt::OtherFocusReason);
}

QAbstractButton* TFrmVolume::DefaultButton() const { return BtnOk; }

bool ShowVolume(QWidget* owner, TVolumeChoices& choices, TVolumeMeasure measure)
{
    std::unique_ptr<TFrmVolume> unowned;
    TFrmVolume* dialog = &OwnedDialog(owner, unowned);
    dialog->SetChoices(choices);
    dialog->StartMeasuring(std::move(measure));
    // Closed however: the measurement is of no use any more.
    const auto stop = qScopeGuard([dialog] { dialog->StopMeasuring(); });
    const int result = dialog->ShowModal();
    if (result != mrOk)
        return false;
    choices = dialog->Choices();
    return true;
}

} // namespace vivizu
