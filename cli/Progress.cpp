#include "cli/Progress.h"

#include <algorithm>
#include <chrono>
#include <iostream>
#include <unistd.h>

namespace vivizu {

std::string PercentText(const std::string& label, int64_t done, int64_t total)
{
    const int64_t percent = total > 0 ? std::clamp<int64_t>(done * 100 / total, 0, 100) : 0;
    return label + ": " + std::to_string(percent) + "%";
}

TProgressLine::TProgressLine(std::string label, int64_t total, bool shown)
    : FLabel(std::move(label)), FTotal(total)
{
    if (shown && isatty(STDERR_FILENO) == 1)
        FThread = std::thread([this] { Run(); });
}

TProgressLine::~TProgressLine()
{
    {
        const std::lock_guard lock(FLock);
        FStop = true;
    }
    FWake.notify_all();
    if (FThread.joinable())
        FThread.join();
}

void TProgressLine::Run()
{
    using namespace std::chrono_literals;
    std::unique_lock lock(FLock);
    // Work that ends within a second shows nothing.
    if (FWake.wait_for(lock, 1s, [this] { return FStop; }))
        return;
    do {
        std::cerr << "\r\033[K" << PercentText(FLabel, FDone.load(std::memory_order_relaxed), FTotal) << std::flush;
    } while (!FWake.wait_for(lock, 250ms, [this] { return FStop; }));
    std::cerr << "\r\033[K" << std::flush;
}

} // namespace vivizu
