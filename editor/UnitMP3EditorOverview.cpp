// The overview band over the header's waveform picture: the opened stream's
// levels, first estimated from the side information by the walk that
// analyses the file, then decoded by a background job so that opening a file
// never waits for the decode. Decoded
// levels are kept in the levels cache: a file opened again shows them at
// once, without the job.
#include "editor/OverviewBand.h"
#include "editor/OverviewAccessible.h"
#include "editor/OverviewJob.h"
#include "editor/OverviewSpeech.h"
#include "editor/Selection.h"
#include "editor/UnitMP3Editor.h"
#include "engine/RoruvoMp3.h"
#include "engine/decode/LevelCache.h"
#include "widgets/Timer.h"
#include "widgets/TrackBar.h"

#include <cmath>

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
    InstallOverviewAccessible();
    FOverviewSpeech = new TOverviewSpeech(*FOverview, *FSelection);
    connect(FOverviewJob, &TOverviewJob::Finished, this, [this](const TGranuleLevels& levels) {
        FOverview->SetLevels(levels, FMp3->Index().HeaderOf(0).DurationMs(), true);
        FOverview->SetRefining(false);
        FOverview->raise();
        // Kept only when the file is still the one that was analysed.
        if (IdentityOf(FOverviewFile.Path) == FOverviewFile)
            TLevelCache(TLevelCache::DefaultFolder()).Write(FOverviewFile, levels);
    });
    // A failed decode leaves the estimate, no longer being refined.
    connect(FOverviewJob, &TOverviewJob::Failed, this, [this] { FOverview->SetRefining(false); });
    // A pick during a preview waits: the position bar follows the preview.
    connect(FOverview, &TOverviewBand::PositionPicked, this, [this](qint64 ms) {
        if (TrackBarPos->isEnabled() && !TimerPos->Enabled())
            TrackBarPos->SetPosition(static_cast<int>(ms));
    });
    connect(TrackBarPos, &TTrackBar::Change, this,
            [this] {
                FOverview->SetPosition(int64_t{TrackBarPos->Position()});
                FOverviewSpeech->PositionMoved();
            });
}

void TFrmMP3Editor::ShowOverview() {
    FOverviewJob->Cancel();
    FOverview->SetRefining(false);
    const TFrameIndex& index = FMp3->Index();
    if (!FMp3->Valid || index.Count() == 0) {
        FOverview->ClearLevels();
        return;
    }
    const TMpegHeader first = index.HeaderOf(0);
    const int granuleSamples = first.SamplesPerFrame() / first.Granules();
    FOverviewFile = {IdentityOf(FMp3->FileName).Path, FSourceSize, FSourceMTimeNs};
    const auto kept = TLevelCache(TLevelCache::DefaultFolder()).Read(FOverviewFile);
    if (kept && std::abs(kept->MsPerGranule - first.GranuleDuration().Ms()) < 1e-9) {
        FMp3->TakeLevelEstimate(); // not shown: its memory goes
        FOverview->SetLevels(std::move(*kept), first.DurationMs());
        FOverview->SetRefining(false);
        FOverview->raise();
        return;
    }
    // The band keeps the estimate until the decode replaces it; the engine
    // needs it no more.
    FOverview->SetLevels(FMp3->TakeLevelEstimate(), first.DurationMs());
    FOverview->raise();
    FOverviewJob->Start(FMp3->FileName, index, first.SampleRate(), granuleSamples);
    FOverview->SetRefining(FOverviewJob->Running());
}

void TFrmMP3Editor::HideOverview() {
    FOverviewJob->Cancel();
    FOverview->SetRefining(false);
    FOverview->ClearLevels();
}

} // namespace vivizu
