#include "editor/OverviewJob.h"

#include "engine/decode/FrameStarts.h"
#include "engine/decode/LevelMeter.h"
#include "engine/decode/SideInfoLevels.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>
#include <algorithm>

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
        const std::vector<int64_t> starts = AudioFrameStarts(frames);
        if (starts.size() < 2 || cancel)
            return;
        TDecodeOptions options;
        options.Cancel = &cancel;
        const TLevels decoded =
            DecodeLevels(fileName, TDecodeRange{starts, 0, starts.size() - 1}, granuleSamples, options);
        if (decoded.Result.Status != TDecodeStatus::Done || cancel)
            return;
        TGranuleLevels levels;
        levels.MsPerGranule = 1000.0 * granuleSamples / sampleRate;
        levels.Levels.reserve(decoded.Blocks.size());
        for (const TLevelBlock& block : decoded.Blocks)
            levels.Levels.push_back(DbToUnitLevel(LevelToDb(std::max(block.Channel[0].Peak, block.Channel[1].Peak))));
        // The application object outlives the window; the pointer is read on
        // the window's thread only.
        QMetaObject::invokeMethod(QCoreApplication::instance(), [self, generation, levels] {
            if (self)
                self->Deliver(generation, levels);
        });
    });
}

void TOverviewJob::Deliver(uint64_t generation, const TGranuleLevels& levels)
{
    if (FRuns.Takes(generation))
        emit Finished(levels);
}

} // namespace vivizu
