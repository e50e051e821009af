#include "editor/LoudnessJob.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>

namespace vivizu {

TLoudnessJob::TLoudnessJob(QObject* parent) : QObject(parent) {}

TLoudnessJob::~TLoudnessJob()
{
    for (auto& [state, thread] : FThreads) {
        state->Cancel = true;
        if (thread.joinable())
            thread.join();
    }
}

void TLoudnessJob::Cancel()
{
    ++FGeneration;
    if (FCurrent)
        FCurrent->Cancel = true;
    FCurrent.reset();
    JoinFinished();
}

bool TLoudnessJob::Running() const { return FCurrent && !FCurrent->Done; }

// Threads whose measurement has ended are joined at once; the others at the
// next start or in the destructor.
void TLoudnessJob::JoinFinished()
{
    std::erase_if(FThreads, [](auto& job) {
        if (!job.first->Done)
            return false;
        job.second.join();
        return true;
    });
}

void TLoudnessJob::Start(TSelectionFrames frames)
{
    Cancel();
    auto state = std::make_shared<TState>();
    FCurrent = state;
    const uint64_t generation = FGeneration;
    QPointer<TLoudnessJob> self(this);
    std::thread thread([state, self, generation, frames = std::move(frames)] {
        TDecodeOptions options;
        options.Cancel = &state->Cancel;
        const TLoudnessResult result = MeasureSelectionLoudness(frames, options);
        if (result.Result.Status != TDecodeStatus::Cancelled && !state->Cancel) {
            // The application object outlives the dialog; the pointer is
            // read on the window's thread only.
            QMetaObject::invokeMethod(QCoreApplication::instance(), [self, generation, result] {
                if (self)
                    self->Deliver(generation, result);
            });
        }
        state->Done = true;
    });
    FThreads.emplace_back(state, std::move(thread));
}

void TLoudnessJob::Deliver(uint64_t generation, const TLoudnessResult& result)
{
    if (generation != FGeneration)
        return;
    FCurrent.reset();
    JoinFinished();
    emit Finished(result);
}

} // namespace vivizu
