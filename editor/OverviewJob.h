#pragma once
// The background work of the overview, so that opening a file never waits
// for it: the whole stream decoded on every core into one level per
// granule, handed over when done. (The estimate the window shows until then
// comes with the file's analysis.) Starting another job or Cancel() stops
// the one running and drops its results; the window never waits for it. A
// failed decode hands nothing over, so the estimate stays.
#include "engine/decode/GranuleLevels.h"
#include "engine/frames/FrameIndex.h"

#include <QObject>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace vivizu {

class TOverviewJob : public QObject {
    Q_OBJECT

public:
    explicit TOverviewJob(QObject* parent = nullptr);
    // Cancels every job and joins its thread (a cancelled decode ends within
    // a chunk).
    ~TOverviewJob() override;

    // Decodes the frames of index (a copy of the analysed
    // file's) of fileName in blocks of granuleSamples samples at sampleRate.
    void Start(const std::string& fileName, TFrameIndex index, int sampleRate, int granuleSamples);
    void Cancel();
    bool Running() const;

signals:
    void Finished(const vivizu::TGranuleLevels& levels);

private:
    struct TState {
        std::atomic<bool> Cancel{false};
        std::atomic<bool> Done{false};
    };
    void Deliver(uint64_t generation, const TGranuleLevels& levels);
    void JoinFinished();

    uint64_t FGeneration = 0;
    std::shared_ptr<TState> FCurrent;
    std::vector<std::pair<std::shared_ptr<TState>, std::thread>> FThreads;
};

} // namespace vivizu

Q_DECLARE_METATYPE(vivizu::TGranuleLevels)
