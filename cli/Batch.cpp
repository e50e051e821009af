#include "cli/Batch.h"
#include <sys/stat.h>
#include <filesystem>

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

std::string ProgressText(size_t filesDone, size_t files, size_t pieces, size_t notDone, double rate,
                         double bytesLeft)
{
    char line[160];
    int n = std::snprintf(line, sizeof line, "%zu/%zu files, %zu %s", filesDone, files, pieces,
                          pieces == 1 ? "piece" : "pieces");
    if (notDone > 0)
        n += std::snprintf(line + n, sizeof line - static_cast<size_t>(n), ", %zu not done", notDone);
    if (rate > 0)
        std::snprintf(line + n, sizeof line - static_cast<size_t>(n), ", %.1f MB/s, %.0f s left", rate / 1e6,
                      bytesLeft / rate);
    return line;
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

void TBatchOutput::FileDone(int64_t bytes, const std::string& file, int code)
{
    const std::lock_guard lock(FLock);
    ++FFilesDone;
    FBytesDone += bytes;
    if (code != ExitOk)
        FNotDone.emplace_back(file, code);
    DrawProgress();
}

void TBatchOutput::Summary()
{
    const std::lock_guard lock(FLock);
    if (FNotDone.empty() || FFiles < 2 || !FProgress)
        return;
    ClearProgress();
    std::sort(FNotDone.begin(), FNotDone.end());
    std::string line = std::to_string(FNotDone.size()) + " of " + std::to_string(FFiles) + " files not done:";
    constexpr size_t Named = 10;
    for (size_t i = 0; i < FNotDone.size() && i < Named; ++i)
        line += std::string(i ? ", " : " ") + FNotDone[i].first +
                (FNotDone[i].second == ExitDeclined ? " (declined)" : " (failed)");
    if (FNotDone.size() > Named)
        line += " and " + std::to_string(FNotDone.size() - Named) + " more";
    std::cerr << "vivizu-cli: " << line << std::endl;
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
    // A speed is shown once there is a second to measure it over.
    const double rate = seconds >= 1 ? static_cast<double>(FBytesDone) / seconds : 0;
    std::cerr << "\r\033[K" << ProgressText(FFilesDone, FFiles, FPiecesDone, FNotDone.size(), rate,
                                           static_cast<double>(FBytes - FBytesDone))
              << std::flush;
    FDrawn = true;
}

std::optional<std::string> PrepareOutputFolder(const std::string& folder, bool create)
{
    struct stat st {};
    if (stat(folder.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode) ? std::nullopt
                                   : std::optional<std::string>(folder + ": is not a folder; nothing written");
    if (!create)
        return std::nullopt; // a dry run would create it
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error)
        return folder + ": the folder cannot be created (" + error.message() + "); nothing written";
    return std::nullopt;
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
