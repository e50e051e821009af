#pragma once
// A progress line on stderr for one long piece of work (a decode of a whole
// stream): shown only on a terminal, only once the work has taken a second,
// redrawn a few times a second and cleared when the work ends, so that short
// runs and runs into files or pipes print nothing.
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

namespace vivizu {

// "label: 45%" for done of total (0% for an unknown total, at most 100%).
std::string PercentText(const std::string& label, int64_t done, int64_t total);

class TProgressLine {
public:
    // done is counted up by the work while this lives; total is where it ends.
    // Shows nothing unless shown is true and stderr is a terminal.
    TProgressLine(std::string label, int64_t total, bool shown = true);
    ~TProgressLine();
    TProgressLine(const TProgressLine&) = delete;
    TProgressLine& operator=(const TProgressLine&) = delete;

    std::atomic<int64_t>& Done() { return FDone; }

private:
    void Run();

    std::string FLabel;
    int64_t FTotal;
    std::atomic<int64_t> FDone{0};
    std::mutex FLock;
    std::condition_variable FWake;
    bool FStop = false;
    std::thread FThread;
};

} // namespace vivizu
