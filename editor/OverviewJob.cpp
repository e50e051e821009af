#include "editor/OverviewJob.h"

#include "engine/decode/LevelMeter.h"
#include "engine/decode/SideInfoLevels.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>
#include <algorithm>
#include <memory>

namespace vivizu {

TOverviewJob::TOverviewJob(QObject* parent) : QObject(parent) {}

void TOverviewJob::Start(const std::string& fileName, TFrameIndex index, int sampleRate, int granuleSamples)
{
    if (index.Count() == 0 || sampleRate <= 0 || granuleSamples <= 0) {
        Cancel();
        return;
    }
    QPointer<TOverviewJob> self(this);
    FRuns.Start([self, fileName, frames = std::move(index), sampleRate,
                 granuleSamples](const std::atomic<bool>& cancel, uint64_t generation) {
        if (cancel)
            return;
        TDecodeOptions options;
        options.Cancel = &cancel;
        // Each granule's statistics become its level as they come: the job
        // keeps one level per granule (room for all of them taken at once,
        // from the stream's length) and the decode a few chunks per thread.
        auto levels = std::make_shared<TGranuleLevels>();
        levels->MsPerGranule = TStreamTime::FromSamples(granuleSamples, sampleRate).Ms();
        const double granules = frames.Duration().Ms() / levels->MsPerGranule;
        levels->Levels.reserve(static_cast<size_t>(std::max(0.0, granules)) + 1);
        const TDecodeResult decoded = DecodeLevelBlocks(
            fileName, TDecodeRange{frames, 0, frames.Count()}, granuleSamples, options, [&](const TLevelBlock& block) {
                levels->Levels.push_back(
                    DbToUnitLevel(LevelToDb(std::max(block.Channel[0].Peak, block.Channel[1].Peak))));
            });
        if (cancel)
            return;
        if (decoded.Status != TDecodeStatus::Done) {
            QMetaObject::invokeMethod(QCoreApplication::instance(), [self, generation] {
                if (self)
                    self->Fail(generation);
            });
            return;
        }
        // The application object outlives the window; the pointer is read on
        // the window's thread only. The levels are handed over, not copied.
        QMetaObject::invokeMethod(QCoreApplication::instance(), [self, generation, levels] {
            if (self)
                self->Deliver(generation, *levels);
        });
    });
}

void TOverviewJob::Deliver(uint64_t generation, const TGranuleLevels& levels)
{
    if (FRuns.Takes(generation))
        emit Finished(levels);
}

void TOverviewJob::Fail(uint64_t generation)
{
    if (FRuns.Takes(generation))
        emit Failed();
}

} // namespace vivizu
