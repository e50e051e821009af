#pragma once
// The background measurement of a selection's loudness for the volume
// dialog: decoded on every core away from the window's thread, the result
// handed over when done. Starting another measurement or Cancel() stops the
// one running and drops its result; the window never waits for it.
#include "engine/decode/SelectionLoudness.h"

#include <QObject>
#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

namespace vivizu {

class TLoudnessJob : public QObject {
    Q_OBJECT

public:
    explicit TLoudnessJob(QObject* parent = nullptr);
    // Cancels every measurement and joins its thread (a cancelled decode
    // ends within a chunk).
    ~TLoudnessJob() override;

    void Start(TSelectionFrames frames);
    void Cancel();
    bool Running() const;

signals:
    // Every outcome of the latest measurement but its cancellation.
    void Finished(const vivizu::TLoudnessResult& result);

private:
    struct TState {
        std::atomic<bool> Cancel{false};
        std::atomic<bool> Done{false};
    };
    void Deliver(uint64_t generation, const TLoudnessResult& result);
    void JoinFinished();

    uint64_t FGeneration = 0;
    std::shared_ptr<TState> FCurrent;
    std::vector<std::pair<std::shared_ptr<TState>, std::thread>> FThreads;
};

} // namespace vivizu

Q_DECLARE_METATYPE(vivizu::TLoudnessResult)
