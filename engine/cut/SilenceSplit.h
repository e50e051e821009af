#pragma once
// Pieces of a stream split at its pauses: in the middle of each pause, or,
// with a length of silence to keep, around each stretch of sound with at most
// that much of its pauses on either side (the dead air between is dropped).
#include "engine/cut/SplitPlan.h"
#include "engine/decode/Silence.h"

#include <optional>
#include <span>

namespace vivizu {

// The silences that lie between sounds: those that neither begin with the
// stream nor end with it (streamSamples samples long).
std::vector<TSilence> InnerPauses(std::span<const TSilence> silences, int64_t streamSamples);

struct TSilencePlan {
    TSplitRanges Ranges;
    std::vector<TSilence> Pauses;   // the pauses split at
};

// The pieces of a stream whose decode found silences (sample positions at
// sampleRate, on the frame index's time line). Without keep, the pieces are
// those of a split at the middle of every inner pause (plain or exact, as
// the split planners make them). With keep, each piece runs from at most
// keep before its sound to at most keep after it, a pause shorter than twice
// keep being shared at its middle; leading and trailing silence is trimmed
// the same way. Declined when no pause lies between sounds.
TSilencePlan PlanSilenceSplit(const TFrameIndex& index, std::span<const TSilence> silences, int sampleRate,
                              std::optional<TStreamTime> keep, bool exact);

} // namespace vivizu
