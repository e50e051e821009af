// The overview band over the header's waveform picture: the opened stream's
// levels, first estimated from the side information as the file opens, then
// the decoded levels from a background job once it is done.
#include "editor/OverviewBand.h"
#include "editor/OverviewJob.h"
#include "editor/Selection.h"
#include "editor/UnitMP3Editor.h"
#include "engine/RoruvoMp3.h"
#include "engine/decode/FrameStarts.h"
#include "widgets/Timer.h"
#include "widgets/TrackBar.h"

#include <exception>

namespace vivizu {

namespace {
// Where the skin draws its decorative waveform: columns from x 252 to 448,
// the middle line at y 62.
constexpr int BandLeft = 252 - TOverviewBand::Margin;
constexpr int BandWidth = 448 - 252 + 1 + 2 * TOverviewBand::Margin;
constexpr int BandTop = 62 - TOverviewBand::Middle;
} // namespace

void TFrmMP3Editor::WireOverview() {
    FOverview = new TOverviewBand(*FSelection, this);
    FOverview->setGeometry(BandLeft, BandTop, BandWidth, TOverviewBand::Height);
    FOverviewJob = new TOverviewJob(this);
    connect(FOverviewJob, &TOverviewJob::Finished, this, [this](const TGranuleLevels& levels) {
        FOverview->SetLevels(levels, 0.0, true);
    });
    // A pick during a preview waits: the position bar follows the preview.
    connect(FOverview, &TOverviewBand::PositionPicked, this, [this](qint64 ms) {
        if (TrackBarPos->isEnabled() && !TimerPos->Enabled())
            TrackBarPos->SetPosition(static_cast<int>(ms));
    });
    connect(TrackBarPos, &TTrackBar::Change, this,
            [this] { FOverview->SetPosition(int64_t{TrackBarPos->Position()}); });
}

void TFrmMP3Editor::ShowOverview() {
    FOverviewJob->Cancel();
    const TFrameIndex& index = FMp3->Index();
    if (!FMp3->Valid || index.Count() == 0) {
        FOverview->ClearLevels();
        return;
    }
    const TMpegHeader first = index.HeaderOf(0);
    try {
        TInputFile input(FMp3->FileName);
        FOverview->SetLevels(EstimateSideInfoLevels(input, index), first.DurationMs());
    } catch (const std::exception&) {
        // The file went away since the analysis: no picture, as for no file.
        FOverview->ClearLevels();
        return;
    }
    FOverview->raise();
    FOverviewJob->Start(FMp3->FileName, AudioFrameStarts(index), first.SampleRate(),
                        first.SamplesPerFrame() / first.Granules());
}

void TFrmMP3Editor::HideOverview() {
    FOverviewJob->Cancel();
    FOverview->ClearLevels();
}

} // namespace vivizu
