#pragma once
// Runs a job: the checks of the whole job first, then the loudness
// measurements a target asks for, then the write through the engine's
// writers (each output written to a temporary file that takes its name
// only once complete, so a failure or a signal leaves no half-written
// file), and the report of what was done.
#include "operations/Job.h"
#include "operations/Report.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>

namespace vivizu {

struct TJobCallbacks {
    // Before a loudness measurement of this many samples per channel: where
    // to count the samples decoded (null: not counted).
    std::function<std::atomic<int64_t>*(int64_t samples)> Measuring;
    // After each measurement: what was measured (a piece's file, "all
    // pieces", or empty for a cut) and how it came out.
    std::function<void(const std::string& what, const TNormalization&)> Measured;
    // Output number i (a piece, or the one file) is in place.
    std::function<void(size_t i)> Written;
    // Set from elsewhere to stop the job before its write begins (a
    // measurement in progress stops too), or a split between two pieces
    // (the pieces in place stay, in the report's Written; none is left
    // half-written); the report says Cancelled.
    const std::atomic<bool>* Cancel = nullptr;
};

// Runs job; the errors of the files while measuring are raised as
// std::system_error (the write reports its own in the report).
TJobReport RunJob(const TJob& job, const TJobCallbacks& callbacks = {});

} // namespace vivizu
