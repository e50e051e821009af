#pragma once
// Many input files with the same cut or split: the files are worked on in
// parallel, their messages go out whole lines at a time, a progress line
// on a terminal says how far the batch is, and the exit code is the worst
// of the files'.
#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vivizu {

// The exit code of a batch: 3 when a file failed, else 1 when one was
// declined, else 0 (a usage error counts as a failure).
int WorstExit(int a, int b);

// The progress line: files and pieces done, the files not done, and with a
// rate (bytes a second; 0 when not known yet) the speed and time left.
std::string ProgressText(size_t filesDone, size_t files, size_t pieces, size_t notDone, double rate,
                         double bytesLeft);

// Where the commands' messages go while files are worked on in parallel.
class TBatchOutput {
public:
    // progress: draw a progress line on stderr (only when it is a terminal).
    TBatchOutput(size_t files, int64_t bytes, bool progress);
    ~TBatchOutput();
    TBatchOutput(const TBatchOutput&) = delete;
    TBatchOutput& operator=(const TBatchOutput&) = delete;

    // A line on stdout, or "vivizu-cli: message" on stderr.
    void Out(std::string_view line);
    void Error(std::string_view message);
    void PieceDone();
    // A file is done with its exit code; its bytes count as read.
    void FileDone(int64_t bytes, const std::string& file, int code);
    // With a progress line, when some files were not done: one line on
    // stderr that names them (their own messages went out before).
    void Summary();

private:
    void ClearProgress();
    void DrawProgress();

    std::mutex FLock;
    size_t FFiles = 0, FFilesDone = 0, FPiecesDone = 0;
    std::vector<std::pair<std::string, int>> FNotDone; // files and their exit codes
    int64_t FBytes = 0, FBytesDone = 0;
    bool FProgress = false;
    bool FDrawn = false;
    std::chrono::steady_clock::time_point FStart;
};

// Makes sure the output folder of a run is there: a folder that does not
// exist is created with its parents (unless create is false, for a dry run);
// the reason when it cannot be, or when the name is something else.
std::optional<std::string> PrepareOutputFolder(const std::string& folder, bool create);

// Runs job(i) for every i below count on up to `workers` threads (at least
// one); returns the worst of their exit codes.
int RunBatch(size_t count, unsigned workers, const std::function<int(size_t)>& job);

} // namespace vivizu
