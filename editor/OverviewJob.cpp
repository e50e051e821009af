#include "editor/OverviewJob.h"

#include "engine/decode/SideInfoLevels.h"

#include "engine/decode/FrameStarts.h"
#include "engine/decode/LevelMeter.h"

#include <QPointer>
#include <QMetaObject>
#include <QCoreApplication>
#include <algorithm>
#include <exception>

namespace vivizu {

TOverviewJob::TOverviewJob(QObject* parent) : QObject(parent) {}

TOverviewJob::~TOverviewJob()
{
    for (auto& [state, thread] : FThreads) {
        state->Cancel = true;
        if (thread.joinable())
            thread.join();
    }
}

void TOverviewJob::Cancel()
{
    ++FGeneration;
    if (FCurrent)
        FCurrent->Cancel = true;
    FCurrent.reset();
    JoinFinished();
}

bool TOverviewJob::Running() const { return FCurrent && !FCurrent->Done; }

// Threads whose decode has ended are joined at once; the others at the next
// start or in the destructor.
void TOverviewJob::JoinFinished()
{
    std::erase_if(FThreads, [](auto& job) {
        if (!job.first->Done)
            return false;
        job.second.join();
        return true;
    });
}

void TOverviewJob::Start(const std::string& fileName, TFrameIndex index, int sampleRate, int granuleSamples)
{
    Cancel();
    if (index.Count() == 0 || sampleRate <= 0 || granuleSamples <= 0)
        return;
    auto state = std::make_shared<TState>();
    FCurrent = state;
    const uint64_t generation = FGeneration;
    QPointer<TOverviewJob> self(this);
    // The application object outlives the window; the pointer is read on
    // the window's thread only.
    auto post = [self, generation](TGranuleLevels levels) {
        QMetaObject::invokeMethod(QCoreApplication::instance(), [self, generation, levels] {
            if (self)
                self->Deliver(generation, levels);
        });
    };
    std::thread thread([state, post, fileName, frames = std::move(index), sampleRate, granuleSamples] {
        const std::vector<int64_t> starts = AudioFrameStarts(frames);
        if (starts.size() >= 2 && !state->Cancel) {
            TDecodeOptions options;
            options.Cancel = &state->Cancel;
            const TLevels decoded =
                DecodeLevels(fileName, TDecodeRange{starts, 0, starts.size() - 1}, granuleSamples, options);
            if (decoded.Result.Status == TDecodeStatus::Done && !state->Cancel) {
                TGranuleLevels levels;
                levels.MsPerGranule = 1000.0 * granuleSamples / sampleRate;
                levels.Levels.reserve(decoded.Blocks.size());
                for (const TLevelBlock& block : decoded.Blocks)
                    levels.Levels.push_back(
                        DbToUnitLevel(LevelToDb(std::max(block.Channel[0].Peak, block.Channel[1].Peak))));
                post(std::move(levels));
            }
        }
        state->Done = true;
    });
    FThreads.emplace_back(state, std::move(thread));
}

void TOverviewJob::Deliver(uint64_t generation, const TGranuleLevels& levels)
{
    if (generation != FGeneration)
        return;
    FCurrent.reset();
    JoinFinished();
    emit Finished(levels);
}

} // namespace vivizu
