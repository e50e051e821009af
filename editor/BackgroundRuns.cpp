#include "editor/BackgroundRuns.h"

namespace vivizu {

TBackgroundRuns::~TBackgroundRuns()
{
    for (auto& [state, thread] : FThreads) {
        state->Cancel = true;
        if (thread.joinable())
            thread.join();
    }
}

void TBackgroundRuns::Start(TWork work)
{
    Cancel();
    auto state = std::make_shared<TState>();
    FCurrent = state;
    std::thread thread([state, generation = FGeneration, work = std::move(work)] {
        work(state->Cancel, generation);
        state->Done = true;
    });
    FThreads.emplace_back(state, std::move(thread));
}

void TBackgroundRuns::Cancel()
{
    ++FGeneration;
    if (FCurrent)
        FCurrent->Cancel = true;
    FCurrent.reset();
    JoinFinished();
}

bool TBackgroundRuns::Running() const { return FCurrent && !FCurrent->Done; }

bool TBackgroundRuns::Takes(uint64_t generation)
{
    if (generation != FGeneration)
        return false;
    FCurrent.reset();
    JoinFinished();
    return true;
}

// Threads whose run has ended are joined at once; the others later.
void TBackgroundRuns::JoinFinished()
{
    std::erase_if(FThreads, [](auto& run) {
        if (!run.first->Done)
            return false;
        run.second.join();
        return true;
    });
}

} // namespace vivizu
