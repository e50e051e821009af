// Preview: the Play and Stop buttons, the play-from dialog's choice, the
// position bar with its time label and the timer that follows the playback.
#include "editor/MessageBox.h"
#include "editor/ResultFile.h"
#include "editor/TimeText.h"
#include "editor/OverviewBand.h"
#include "editor/UnitMP3Editor.h"
#include "editor/UnitPlayMsg.h"
#include "editor/Selection.h"
#include "engine/RoruvoMp3.h"
#include "widgets/GlyphButton.h"
#include "widgets/Label.h"
#include "widgets/Panel.h"
#include "widgets/PictureButton.h"
#include "widgets/Timer.h"
#include "widgets/TrackBar.h"

#include <QScopeGuard>
#include <algorithm>

namespace vivizu {

namespace {

// The position bar counts in 32 bits: it takes a time's low 32 bits.
int32_t BarPosition(int64_t ms) { return static_cast<int32_t>(static_cast<uint32_t>(ms)); }

} // namespace

void TFrmMP3Editor::WirePreview() {
    connect(BtnPlayStart, &TGlyphButton::Click, this, &TFrmMP3Editor::BtnPlayStartClick);
    connect(BtnStop, &TGlyphButton::Click, this, &TFrmMP3Editor::BtnStopClick);
    connect(TimerPos, &TTimer::Timer, this, &TFrmMP3Editor::TimerPosTimer);
    connect(TrackBarPos, &TTrackBar::Change, this, &TFrmMP3Editor::TrackBarPosChange);
}

void TFrmMP3Editor::TrackBarPosChange() {
    Label1->SetCaption(MsToTimeText(int64_t{TrackBarPos->Position()}));
}

void TFrmMP3Editor::BtnPlayStartClick() {
    switch (ShowPlayMsg(this)) {
    case 0: PlayFromStartTag(); break;
    case 1: PlayFromEndTag(); break;
    case 2: PlayFromCurrent(); break;
    case 3: PlayResult(); break;
    default: break;
    }
}

void TFrmMP3Editor::PlayFromStartTag() {
    if (StartPreview(FSelection->Start()))
        TrackBarPos->SetPosition(BarPosition(FSelection->Start()));
}

void TFrmMP3Editor::PlayFromEndTag() {
    if (StartPreview(FSelection->End()))
        TrackBarPos->SetPosition(BarPosition(FSelection->End()));
}

// The bar keeps its place: the preview starts there.
void TFrmMP3Editor::PlayFromCurrent() { StartPreview(int64_t{TrackBarPos->Position()}); }

// Plays from `from` to the end of the stream. Nothing changes when `from`
// lies at or after the end, or the device does not start playing; an error
// of the device passes before any control has changed.
bool TFrmMP3Editor::StartPreview(int64_t from) {
    if (from >= FSelection->LengthMs())
        return false;
    if (!FMp3->PlayRange(from, FSelection->RulerMax()))
        return false;
    FPreviewSkipped.clear();
    ShowPreviewing(0, FSelection->RulerMax());
    return true;
}

void TFrmMP3Editor::ShowPreviewing(int64_t offset, int64_t last) {
    FPreviewOffset = offset;
    FPreviewLast = last;
    TrackBarPos->SetEnabled(false);
    BtnPlayStart->SetEnabled(false);
    BtnStop->SetEnabled(true);
    BtnSaveMp3->SetEnabled(false);
    TimerPos->SetEnabled(true);
    FOverview->SetPlaying(true);
}

// The result is played on its own time line, from 0 to its length; the
// bar shows it over the selection it was cut from.
void TFrmMP3Editor::PlayResult() {
    if (!SelectionHasLength(Messages.NotPlay))
        return;
    // A changed file is opened again instead, as for a save.
    if (!SourceUnchanged())
        return;
    auto file = std::make_unique<TResultFile>();
    if (!file->Valid()) {
        ShowMessageBox(this,
                       Messages.NotPlay + QStringLiteral("\r\n") + ResultFolder() + QStringLiteral(": ") +
                           file->Reason(),
                       Messages.Error, QMessageBox::Critical);
        return;
    }
    const std::string path = file->Path();
    TCutResult result;
    {
        ShowWaitPanel(Messages.Preparing);
        const auto hidePanel = qScopeGuard([this] { PanelState->SetVisible(false); });
        result = CutSelection(path);
    }
    if (!result.Ok()) {
        ReportCutFailure(result, path, Messages.NotPlay);
        return;
    }
    const int64_t length = TRoruvoMP3(path).Info.LengthMs;
    // Kept while it plays; gone at once when the device does not start
    // (or raises its error, reported by the click's handler).
    FResultFile = std::move(file);
    auto removeUnplayed = qScopeGuard([this] {
        FMp3->StopPlaying();
        FResultFile.reset();
    });
    if (!FMp3->PlayFile(path, 0, length))
        return;
    removeUnplayed.dismiss();
    FPreviewSkipped = RemovedWithin(FSelection->Removed(), FSelection->Start(), FSelection->End());
    ShowPreviewing(FSelection->Start(), FSelection->End());
    TrackBarPos->SetPosition(BarPosition(FSelection->Start()));
}

void TFrmMP3Editor::BtnStopClick() {
    FMp3->StopPlaying();
    EndPreview();
}

void TFrmMP3Editor::TimerPosTimer() {
    if (FMp3->IsStopped()) {
        // A tick that comes late, after the preview was ended otherwise,
        // moves nothing.
        const bool previewing = TimerPos->Enabled();
        EndPreview();
        // The device's last position lies some way before the end; the
        // preview played to its end (the stream's, or the selection's for
        // the result), so the bar shows that end.
        if (previewing)
            TrackBarPos->SetPosition(BarPosition(FPreviewLast));
        return;
    }
    const int64_t position = FMp3->PlayPosition();
    if (position >= 0)
        TrackBarPos->SetPosition(BarPosition(
            std::min(SourceTimeOfCut(FPreviewSkipped, FPreviewOffset, position), FPreviewLast)));
}

// Back to idle: the timer stops, and Play, Save and the bar come back only
// with a valid file, so a late tick never enables them for a failed open.
void TFrmMP3Editor::EndPreview() {
    TimerPos->SetEnabled(false);
    // A played result is let go of by the device, then removed.
    if (FResultFile) {
        FMp3->StopPlaying();
        FResultFile.reset();
    }
    FOverview->SetPlaying(false);
    const bool file = FMp3 && FMp3->Valid;
    TrackBarPos->SetEnabled(file);
    BtnPlayStart->SetEnabled(file);
    BtnStop->SetEnabled(false);
    BtnSaveMp3->SetEnabled(file);
}

} // namespace vivizu
