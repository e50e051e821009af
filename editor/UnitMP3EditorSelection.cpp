// The selection's views in the window: the two time fields, the markers
// (TSelectionMarkers) and the position bar's length. Each shows the
// selection and hands it what the user did.
#include "editor/Selection.h"
#include "editor/SelectionMarkers.h"
#include "editor/TagGuard.h"
#include "editor/TimeParse.h"
#include "editor/TimeText.h"
#include "editor/UnitMP3Editor.h"
#include "widgets/Label.h"
#include "widgets/MaskEdit.h"
#include "widgets/TrackBar.h"

namespace vivizu {

void TFrmMP3Editor::WireSelection() {
    FSelection = new TSelection(this);
    FMarkers = new TSelectionMarkers(*FSelection, ImageStart, ImageEnd, TrackBarPos, this);
    // Both fields share one handler, which tells them apart by the sender.
    for (TMaskEdit* field : {RzMaskEdit1, RzMaskEdit2})
        connect(field, &TMaskEdit::Change, this, [this, field] { RzMaskEdit1Change(field); });
    connect(FSelection, &TSelection::StartChanged, this,
            [this] { ShowSelectionTime(TMarkerWhich::Start); });
    connect(FSelection, &TSelection::EndChanged, this,
            [this] { ShowSelectionTime(TMarkerWhich::End); });
    connect(FSelection, &TSelection::StreamChanged, this, [this] {
        TrackBarPos->SetMax(FSelection->RulerMax());
        ShowSelectionTime(TMarkerWhich::Start);
        ShowSelectionTime(TMarkerWhich::End);
    });
}

void TFrmMP3Editor::ResetMarkers(bool enabled) {
    FMarkers->Reset(enabled);
    LabelStart->SetEnabled(enabled);
    LabelEnd->SetEnabled(enabled);
    RzMaskEdit1->SetEnabled(enabled);
    RzMaskEdit2->SetEnabled(enabled);
    ShowSelectionTime(TMarkerWhich::Start);
    ShowSelectionTime(TMarkerWhich::End);
}

void TFrmMP3Editor::ShowSelectionTime(TMarkerWhich which) {
    const bool start = which == TMarkerWhich::Start;
    TMaskEdit* field = start ? RzMaskEdit1 : RzMaskEdit2;
    const bool shown = field->isEnabledTo(this);
    const QString text = MsToTimeText(!shown ? 0 : start ? FSelection->Start() : FSelection->End());
    // The field the user is typing into already shows the time; rewriting
    // it would move the caret.
    if (text == field->Text())
        return;
    TTagGuard guard(field);
    field->SetText(text);
}

void TFrmMP3Editor::RzMaskEdit1Change(TMaskEdit* sender) {
    // Raised Tag: the program itself is writing the text.
    if (!sender || sender->Tag() != 0)
        return;
    const bool isStart = sender == RzMaskEdit1;
    const int64_t typed = TimeTextToMs(NormalizeTimeText(sender->Text()));
    const int64_t time = isStart ? FSelection->BoundStart(typed) : FSelection->BoundEnd(typed);

    // Replace what the field cannot stand for (a tens digit above 5, a
    // blank, a time beyond its bounds) at once, leaving the caret where the
    // user was typing.
    const QString text = MsToTimeText(time);
    if (text != sender->Text()) {
        TTagGuard guard(sender);
        const int selStart = sender->SelStart();
        const int selLength = sender->SelLength();
        sender->SetText(text);
        sender->SetSelStart(selStart);
        sender->SetSelLength(selLength);
    }
    // A field whose marker is switched off sets nothing.
    if (!FMarkers->Enabled(isStart ? TMarkerWhich::Start : TMarkerWhich::End))
        return;
    if (isStart)
        FSelection->SetStart(time);
    else
        FSelection->SetEnd(time);
}

} // namespace vivizu
