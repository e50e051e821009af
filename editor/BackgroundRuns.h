#pragma once
// The threads of a window's background work (a decode, a measurement): one
// run counts at a time. Starting a run or Cancel() stops the one going on
// and makes its result not count; a run that has ended is joined at the next
// start, cancel or taken result, the others when this object goes. The
// window never waits for a run.
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <utility>
#include <vector>

namespace vivizu {

class TBackgroundRuns {
public:
    TBackgroundRuns() = default;
    // Cancels every run and joins its thread (a cancelled decode ends within
    // a chunk).
    ~TBackgroundRuns();
    TBackgroundRuns(const TBackgroundRuns&) = delete;
    TBackgroundRuns& operator=(const TBackgroundRuns&) = delete;

    // The work of one run, on a thread of its own: cancel is set when the
    // run no longer counts; generation names the run to Takes.
    using TWork = std::function<void(const std::atomic<bool>& cancel, uint64_t generation)>;

    // Cancels the run going on and starts work.
    void Start(TWork work);
    void Cancel();
    bool Running() const;
    // On the window's thread, for a result of run generation: true when that
    // run still counts, which then ends it.
    bool Takes(uint64_t generation);

private:
    struct TState {
        std::atomic<bool> Cancel{false};
        std::atomic<bool> Done{false};
    };
    void JoinFinished();

    uint64_t FGeneration = 0;
    std::shared_ptr<TState> FCurrent;
    std::vector<std::pair<std::shared_ptr<TState>, std::thread>> FThreads;
};

} // namespace vivizu
