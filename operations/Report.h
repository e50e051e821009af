#pragma once
// What a job did: where it ended and why, the files it put in place, what a
// loudness target measured, and the texts the companion prints of it (its
// JSON line byte for byte as before).
#include "engine/CutResult.h"
#include "operations/Normalization.h"

#include <optional>
#include <string>
#include <vector>

namespace vivizu {

enum class TJobStage {
    Plan,     // refused by the checks of the whole job; nothing written
    Measure,  // the loudness could not be measured; nothing written
    Write,    // the write ran (Result says how it ended)
    CueSheet, // the pieces are written, the cue sheet failed
};

struct TJobReport {
    TJobStage Stage = TJobStage::Write;
    // Done, or the refusal or failure with its reason (from the checks, the
    // measurement or the engine's writer).
    TCutResult Result;
    std::string MeasureMessage;          // Stage Measure: the decode's reason
    std::vector<std::string> Written;    // the files in place, in order
    std::optional<TNormalization> Normalized; // a cut's measurement (none for an empty range)
    std::string CueFailure;              // Stage CueSheet: the path and the system's reason
    bool CueWritten = false;
    bool Cancelled = false;              // stopped by the cancel flag; nothing written but Written

    bool Ok() const { return Result.Ok() && Stage == TJobStage::Write && !Cancelled; }
};

// How an outcome counts for the user: done, declined (the job asks what the
// files cannot give; nothing written) or failed (the file system refused).
enum class TOutcome { Done, Declined, Failed };
TOutcome OutcomeOf(TCutStatus status);

// One file's outcome as the companion's JSON line: the file, "done",
// "declined" or "failed", the files written and the reason.
std::string OutcomeJson(const std::string& file, TOutcome outcome, const std::vector<std::string>& written,
                        const std::string& reason);

// The lines on a cut's gain in whole steps, as applied (when asked), and
// the granules held at the ends of global gain's range.
std::string GainLines(const TCutResult& result, bool asked);

} // namespace vivizu
