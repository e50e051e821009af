#include "operations/Report.h"

#include "engine/cut/GainPlan.h"
#include "operations/Json.h"

#include <cstdio>

namespace vivizu {

TOutcome OutcomeOf(TCutStatus status)
{
    switch (status) {
    case TCutStatus::Done: return TOutcome::Done;
    case TCutStatus::NotAnalysed:
    case TCutStatus::OutputIsInput:
    case TCutStatus::NothingToCut:
    case TCutStatus::NotApplicable: return TOutcome::Declined;
    case TCutStatus::InputGone:
    case TCutStatus::SourceChanged:
    case TCutStatus::DestinationNotWritable:
    case TCutStatus::ReadError:
    case TCutStatus::WriteError: return TOutcome::Failed;
    }
    return TOutcome::Failed;
}

std::string OutcomeJson(const std::string& file, TOutcome outcome, const std::vector<std::string>& written,
                        const std::string& reason)
{
    const char* status = outcome == TOutcome::Done ? "done" : outcome == TOutcome::Declined ? "declined" : "failed";
    return "{" + JsonNameMembers("file", file) + ", \"status\": \"" + status + "\", " +
           JsonNameListMembers("written", written) + ", \"reason\": " + JsonString(reason) + "}";
}

std::string GainLines(const TCutResult& result, bool asked)
{
    std::string lines;
    if (asked) {
        char db[32];
        std::snprintf(db, sizeof db, "%+.1f", result.GainSteps * GainStepDb);
        lines += "gain: " + std::to_string(result.GainSteps) + " steps of 1.5 dB (" + db + " dB)\n";
    }
    if (result.ClampedHigh > 0)
        lines += "gain: " + std::to_string(result.ClampedHigh) +
                 " granule gains would pass the loudest setting and were held at it\n";
    if (result.ClampedLow > 0)
        lines += "gain: " + std::to_string(result.ClampedLow) +
                 " granule gains would pass the quietest setting and were held at it\n";
    return lines;
}

} // namespace vivizu
