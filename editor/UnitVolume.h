#pragma once
// The volume dialog: gain in steps of 1.5 dB, fades in and out in seconds
// and a loudness target, for the saves that follow, with the selection's
// measured loudness. Skinned like the play-from dialog (rounded outline,
// drop shadow).
#include "editor/VolumeChoices.h"
#include "engine/decode/SelectionLoudness.h"
#include "editor/DialogButtons.h"
#include "editor/ModalDialog.h"

#include <QMetaObject>
#include <functional>
#include <memory>

class QDoubleSpinBox;

namespace vivizu {

class TCheckBox;
class TFormShadow;
class TGlyphButton;
class TImage;
class TLabel;
class TPictureButton;
class TLoudnessJob;
class TSelection;

// What the dialog measures while it is open: the selection's frames as
// they are now, taken again whenever Selection changes.
struct TVolumeMeasure {
    std::function<TSelectionFrames()> Frames;
    TSelection* Selection = nullptr;
};

// The loudness line's value: integrated loudness and true peak, a dash for
// a measurement that failed or had nothing to measure.
QString LoudnessText(const TLoudnessResult& measured);

class TFrmVolume : public TModalDialog {
    Q_OBJECT

public:
    explicit TFrmVolume(QWidget* owner = nullptr);
    ~TFrmVolume() override;

    // The skin's art (180 pixels high) is stretched to the dialog's height:
    // its caption strip and its separator line move down with it. The rows
    // stand below the strip, the loudness line above the separator, the
    // buttons below it.
    static constexpr int DialogHeight = 290;
    static constexpr int CaptionStripBottom = SkinStripBottom(DialogHeight);
    static constexpr int SeparatorTop = SkinSeparatorTop(DialogHeight);

    TImage* FS = nullptr;
    TLabel* LabelTitle = nullptr;      // "Volume", in the caption strip
    TLabel* LabelGain = nullptr;       // "Gain (dB):"
    TLabel* LabelFadeIn = nullptr;     // "Fade in (s):"
    TLabel* LabelFadeOut = nullptr;    // "Fade out (s):"
    TCheckBox* CheckNormalize = nullptr; // "Normalise to (LUFS):"
    QDoubleSpinBox* SpinGain = nullptr;
    QDoubleSpinBox* SpinFadeIn = nullptr;
    QDoubleSpinBox* SpinFadeOut = nullptr;
    QDoubleSpinBox* SpinTarget = nullptr;
    TLabel* LabelLoudness = nullptr;      // "Selection loudness:"
    TLabel* LabelLoudnessValue = nullptr; // its value, "…" while measuring
    TGlyphButton* BtnOk = nullptr;
    TGlyphButton* BtnCancel = nullptr;
    TPictureButton* BtnSysClose = nullptr;

    void SetChoices(const TVolumeChoices& choices);
    TVolumeChoices Choices() const;

    // Measures the selection in the background now and after each of its
    // changes, until StopMeasuring; without Frames the line stays hidden.
    void StartMeasuring(TVolumeMeasure measure);
    void StopMeasuring();
    // A measurement is under way.
    bool Measuring() const;

    TFormShadow* Shadow() const { return FShadow.get(); }

protected:
    void FormCreate() override;
    void ModalShown() override;
    QAbstractButton* DefaultButton() const override;

private:
    void Measure();
    void ShowLoudness(const TLoudnessResult& measured);
    // The value right after its caption, whose width depends on the language.
    void PlaceLoudnessValue();

    std::unique_ptr<TFormShadow> FShadow;
    TLoudnessJob* FJob = nullptr;
    TVolumeMeasure FMeasure;
    std::vector<QMetaObject::Connection> FSelectionLinks;
};

// Shows owner's volume dialog (made on first use) with choices and the
// texts of the current language, measuring as measure says while it is up;
// true with the dialog's values in choices when ended with OK, false with
// choices left as they were otherwise.
bool ShowVolume(QWidget* owner, TVolumeChoices& choices, TVolumeMeasure measure = {});

} // namespace vivizu
