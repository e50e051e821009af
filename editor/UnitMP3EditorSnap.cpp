// Snapping markers to quiet: with the option ticked, a marker let go after a
// drag (on the position bar or as a line of the overview) and a time typed
// into a time field move on to the quietest boundary within a second, so
// that cuts land in pauses. The levels are the overview's: decoded once the
// background decode is done, estimated until then. The position time shows
// where the marker came from and went to for a moment.
#include "editor/OverviewBand.h"
#include "editor/Selection.h"
#include "editor/SelectionMarkers.h"
#include "editor/TimeText.h"
#include "editor/OverviewSpeech.h"
#include "editor/UnitMP3Editor.h"
#include "engine/RoruvoMp3.h"
#include "engine/decode/QuietPoint.h"
#include "widgets/Label.h"
#include "widgets/MaskEdit.h"
#include "widgets/MenuItem.h"
#include "widgets/TrackBar.h"

#include <QFontMetrics>
#include <QTimer>

#include <algorithm>

namespace vivizu {
namespace {

constexpr int SnapHintMs = 1500;
constexpr int HintLeft = 3; // inside the window's outline

int Slot(TMarkerWhich which) { return which == TMarkerWhich::End ? 1 : 0; }

} // namespace

void TFrmMP3Editor::WireSnap() {
    FSnapHintTimer = new QTimer(this);
    FSnapHintTimer->setSingleShot(true);
    FSnapHintTimer->setInterval(SnapHintMs);
    FLabel1Bounds = Label1->geometry();
    connect(FSnapHintTimer, &QTimer::timeout, this, [this] {
        Label1->setGeometry(FLabel1Bounds);
        Label1->SetCaption(MsToTimeText(int64_t{TrackBarPos->Position()}));
    });
    connect(FMarkers, &TSelectionMarkers::Dropped, this, &TFrmMP3Editor::SnapMarker);
    connect(FOverview, &TOverviewBand::LineDropped, this,
            [this](bool start) { SnapMarker(start ? TMarkerWhich::Start : TMarkerWhich::End); });
    // A typed time snaps once the typing is done (Enter or leaving the
    // field), not at every digit.
    for (const TMarkerWhich which : {TMarkerWhich::Start, TMarkerWhich::End}) {
        TMaskEdit* field = which == TMarkerWhich::Start ? RzMaskEdit1 : RzMaskEdit2;
        connect(field, &TMaskEdit::Change, this, [this, field, which] {
            if (field->Tag() == 0)
                FTypedTime[Slot(which)] = true;
        });
        connect(field, &QLineEdit::editingFinished, this, [this, which] {
            if (!FTypedTime[Slot(which)])
                return;
            FTypedTime[Slot(which)] = false;
            if (FMarkers->Enabled(which))
                SnapMarker(which);
        });
    }
}

void TFrmMP3Editor::SnapMarker(TMarkerWhich which) {
    if (!PM_SnapToQuiet->Checked() || !FMp3->Valid || FMp3->Index().Count() == 0)
        return;
    const bool start = which == TMarkerWhich::Start;
    const int64_t from = start ? FSelection->Start() : FSelection->End();
    // With the exact cut a cut may start at any granule; otherwise only
    // between frames.
    const bool granules = PM_ExactCut->Checked();
    const int64_t to = start ? SnapStartToQuietMs(FOverview->Levels(), from, FMp3->Index(), granules)
                             : SnapEndToQuietMs(FOverview->Levels(), from, FMp3->Index(), granules, FSelection->Start());
    if (to == from)
        return;
    if (start)
        FSelection->SetStart(to);
    else
        FSelection->SetEnd(to);
    const int64_t landed = start ? FSelection->Start() : FSelection->End();
    if (landed != from) {
        ShowSnapHint(from, landed);
        FOverviewSpeech->NoteSnap(start, landed);
    }
}

// The position time keeps its right edge and grows leftwards, up to the
// window's edge, for the longer text; where even that is too narrow (a long
// file in a wide font) only the new time is shown.
void TFrmMP3Editor::ShowSnapHint(int64_t from, int64_t to) {
    const int right = FLabel1Bounds.right();
    const int widest = right + 1 - HintLeft;
    QString text = SnapHintText(from, to);
    const QFontMetrics metrics(Label1->font());
    if (metrics.horizontalAdvance(text) > widest)
        text = QStringLiteral("\u2192 ") + ShortTimeText(to);
    const int width = std::clamp(metrics.horizontalAdvance(text) + 2, FLabel1Bounds.width(), widest);
    Label1->setGeometry(right + 1 - width, FLabel1Bounds.y(), width, FLabel1Bounds.height());
    Label1->SetCaption(text);
    FSnapHintTimer->start();
}

} // namespace vivizu
