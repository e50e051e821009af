#include "cli/Batch.h"

#include "cli/Console.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <iostream>
#include <thread>
#include <unistd.h>

namespace vivizu {

int WorstExit(int a, int b)
{
    const auto rank = [](int code) { return code == ExitOk ? 0 : code == ExitDeclined ? 1 : 2; };
    const int worst = std::max(rank(a), rank(b));
    return worst == 0 ? ExitOk : worst == 1 ? ExitDeclined : ExitIoError;
}

TBatchOutput::TBatchOutput(size_t files, int64_t bytes, bool progress)
    : FFiles(files), FBytes(bytes), FProgress(progress && isatty(STDERR_FILENO) == 1),
      FStart(std::chrono::steady_clock::now())
{
}

TBatchOutput::~TBatchOutput()
{
    const std::lock_guard lock(FLock);
    if (FDrawn)
        std::cerr << '\n';
}

void TBatchOutput::Out(std::string_view line)
{
    const std::lock_guard lock(FLock);
    ClearProgress();
    std::cout << line << std::endl;
    DrawProgress();
}

void TBatchOutput::Error(std::string_view message)
{
    const std::lock_guard lock(FLock);
    ClearProgress();
    std::cerr << "vivizu-cli: " << message << std::endl;
    DrawProgress();
}

void TBatchOutput::PieceDone()
{
    const std::lock_guard lock(FLock);
    ++FPiecesDone;
    DrawProgress();
}

void TBatchOutput::FileDone(int64_t bytes)
{
    const std::lock_guard lock(FLock);
    ++FFilesDone;
    FBytesDone += bytes;
    DrawProgress();
}

void TBatchOutput::ClearProgress()
{
    if (FDrawn)
        std::cerr << "\r\033[K" << std::flush;
    FDrawn = false;
}

void TBatchOutput::DrawProgress()
{
    if (!FProgress)
        return;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - FStart).count();
    const double rate = seconds > 0 ? static_cast<double>(FBytesDone) / seconds : 0;
    char line[160];
    if (rate > 0)
        std::snprintf(line, sizeof line, "\r\033[K%zu/%zu files, %zu pieces, %.1f MB/s, %.0f s left", FFilesDone,
                      FFiles, FPiecesDone, rate / 1e6, static_cast<double>(FBytes - FBytesDone) / rate);
    else
        std::snprintf(line, sizeof line, "\r\033[K%zu/%zu files, %zu pieces", FFilesDone, FFiles, FPiecesDone);
    std::cerr << line << std::flush;
    FDrawn = true;
}

int RunBatch(size_t count, unsigned workers, const std::function<int(size_t)>& job)
{
    std::atomic<size_t> next{0};
    std::atomic<int> worst{ExitOk};
    const auto work = [&] {
        for (size_t i = next++; i < count; i = next++) {
            const int code = job(i);
            int seen = worst.load();
            while (!worst.compare_exchange_weak(seen, WorstExit(seen, code))) {
            }
        }
    };
    const size_t threads = std::clamp<size_t>(workers, 1, std::max<size_t>(count, 1));
    std::vector<std::thread> pool;
    for (size_t t = 1; t < threads; ++t)
        pool.emplace_back(work);
    work();
    for (std::thread& thread : pool)
        thread.join();
    return worst.load();
}

} // namespace vivizu
