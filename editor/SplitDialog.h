#pragma once
// The split dialog: the loudness below which sound counts as silence and
// the shortest pause to split at, with the number of pieces they give,
// counted while the values change. The stream is decoded once, in the
// background, when the dialog opens; each count after that is a search of
// the decoded levels. Skinned like the volume dialog.
#include "editor/SilenceLevels.h"
#include "engine/decode/StreamSilences.h"
#include "editor/DialogButtons.h"
#include "editor/ModalDialog.h"

#include <QMetaObject>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class QDoubleSpinBox;

namespace vivizu {

class TBackgroundRuns;
class TFormShadow;
class TGlyphButton;
class TImage;
class TLabel;
class TPictureButton;

// What the split is to be done on: the loaded file, its complete frame
// index, and whether the pieces are exact cuts (which plans them so).
struct TSplitSource {
    std::string FileName;
    TFrameIndex Index;
    bool Exact = false;
};

// What the user chose; Found holds the pauses for these values when the
// dialog's decode had finished, so that the split need not decode again.
struct TSplitChoices {
    TSilenceOptions Silence;
    std::optional<TStreamSilences> Found;
};

class TFrmSplit : public TModalDialog {
    Q_OBJECT

public:
    explicit TFrmSplit(QWidget* owner = nullptr);
    ~TFrmSplit() override;

    static constexpr int DialogHeight = 230;
    static constexpr int CaptionStripBottom = SkinStripBottom(DialogHeight);
    static constexpr int SeparatorTop = SkinSeparatorTop(DialogHeight);

    TImage* FS = nullptr;
    TLabel* LabelTitle = nullptr;     // "Split at silences", in the caption strip
    TLabel* LabelThreshold = nullptr; // "Silence below (dBFS):"
    TLabel* LabelMinPause = nullptr;  // "Shortest pause (seconds):"
    QDoubleSpinBox* SpinThreshold = nullptr;
    QDoubleSpinBox* SpinMinPause = nullptr;
    TLabel* LabelPieces = nullptr;      // "Pieces:"
    TLabel* LabelPiecesValue = nullptr; // the count, "…" while decoding
    TGlyphButton* BtnOk = nullptr;
    TGlyphButton* BtnCancel = nullptr;
    TPictureButton* BtnSysClose = nullptr;

    void SetOptions(const TSilenceOptions& options);
    TSilenceOptions Options() const;

    // Decodes source in the background and counts its pieces, now and at
    // every change of the values; Stop ends the decode and lets the levels go.
    void Start(TSplitSource source);
    void Stop();
    // The decode is under way.
    bool Decoding() const;
    // The pauses for the current values, once the decode is done.
    std::optional<TStreamSilences> Found() const;
    // The pieces counted for the current values, once the decode is done.
    std::optional<size_t> PieceCount() const { return FCount; }

    TFormShadow* Shadow() const { return FShadow.get(); }

signals:
    // The count shown has changed (for tests and screen readers).
    void Counted();

protected:
    void FormCreate() override;
    void ModalShown() override;
    QAbstractButton* DefaultButton() const override;

private:
    void Decoded(uint64_t generation, std::shared_ptr<TSilenceLevels> levels);
    void Count();
    void ShowCount(const QString& text);

    std::unique_ptr<TFormShadow> FShadow;
    std::unique_ptr<TBackgroundRuns> FRuns;
    TSplitSource FSource;
    std::shared_ptr<TSilenceLevels> FLevels;
    std::optional<size_t> FCount;
};

// Shows owner's split dialog (made on first use, so that it keeps the last
// values) in the current language for source; true with the values in
// choices when ended with OK.
bool ShowSplitDialog(QWidget* owner, TSplitChoices& choices, TSplitSource source);

// Test seam: while set, ShowSplitDialog hands the dialog, ready and
// counting, to the hook instead of showing it; the hook's answer stands for
// OK (true) or Cancel.
using TSplitDialogHook = std::function<bool(TFrmSplit& dialog)>;
void SetSplitDialogHook(TSplitDialogHook hook);

} // namespace vivizu
