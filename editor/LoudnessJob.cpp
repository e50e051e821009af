#include "editor/LoudnessJob.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>

namespace vivizu {

TLoudnessJob::TLoudnessJob(QObject* parent) : QObject(parent) {}

void TLoudnessJob::Start(TSelectionFrames frames)
{
    QPointer<TLoudnessJob> self(this);
    FRuns.Start([self, frames = std::move(frames)](const std::atomic<bool>& cancel, uint64_t generation) {
        TDecodeOptions options;
        options.Cancel = &cancel;
        const TLoudnessResult result = MeasureSelectionLoudness(frames, options);
        if (result.Result.Status != TDecodeStatus::Cancelled && !cancel) {
            // The application object outlives the dialog; the pointer is
            // read on the window's thread only.
            QMetaObject::invokeMethod(QCoreApplication::instance(), [self, generation, result] {
                if (self)
                    self->Deliver(generation, result);
            });
        }
    });
}

void TLoudnessJob::Deliver(uint64_t generation, const TLoudnessResult& result)
{
    if (FRuns.Takes(generation))
        emit Finished(result);
}

} // namespace vivizu
