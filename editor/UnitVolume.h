#pragma once
// The volume dialog: gain in steps of 1.5 dB, fades in and out in seconds
// and a loudness target, for the saves that follow. Skinned like the
// play-from dialog (rounded outline, drop shadow).
#include "editor/VolumeChoices.h"
#include "widgets/Form.h"

#include <memory>

class QDoubleSpinBox;

namespace vivizu {

class TCheckBox;
class TFormShadow;
class TGlyphButton;
class TImage;
class TLabel;
class TPictureButton;

class TFrmVolume : public TForm {
    Q_OBJECT

public:
    explicit TFrmVolume(QWidget* owner = nullptr);
    ~TFrmVolume() override;

    TImage* FS = nullptr;
    TLabel* LabelGain = nullptr;       // "Gain (dB):"
    TLabel* LabelFadeIn = nullptr;     // "Fade in (s):"
    TLabel* LabelFadeOut = nullptr;    // "Fade out (s):"
    TCheckBox* CheckNormalize = nullptr; // "Normalise to (LUFS):"
    QDoubleSpinBox* SpinGain = nullptr;
    QDoubleSpinBox* SpinFadeIn = nullptr;
    QDoubleSpinBox* SpinFadeOut = nullptr;
    QDoubleSpinBox* SpinTarget = nullptr;
    TGlyphButton* BtnOk = nullptr;
    TGlyphButton* BtnCancel = nullptr;
    TPictureButton* BtnSysClose = nullptr;

    void SetChoices(const TVolumeChoices& choices);
    TVolumeChoices Choices() const;

    TFormShadow* Shadow() const { return FShadow.get(); }

protected:
    void FormCreate() override;
    void ModalShown() override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    std::unique_ptr<TFormShadow> FShadow;
};

// Shows owner's volume dialog (made on first use) with choices and the
// texts of the current language; true with the dialog's values in choices
// when ended with OK, false with choices left as they were otherwise.
bool ShowVolume(QWidget* owner, TVolumeChoices& choices);

} // namespace vivizu
