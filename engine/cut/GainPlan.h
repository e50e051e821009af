#pragma once
// The volume change of a cut as a step count of 1.5 dB per granule: one
// constant gain for the whole piece (from --gain, and where a loudness
// target adds its own steps), and fades in and out whose granules rise from
// silence to the constant gain in equal steps of dB.
#include "engine/cut/CutPlan.h"
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace vivizu {

// Decibels per global_gain step.
inline constexpr double GainStepDb = 1.5;

// The whole number of steps nearest to db (halves away from zero).
int GainStepsForDb(double db);

class TGainPlan {
public:
    // The step of a silent granule: its global_gain becomes 0.
    static constexpr int Silent = -1000;
    // How far a fade reaches down below the constant gain on its second
    // granule's side: 60 steps, 90 dB.
    static constexpr int FadeDepth = 60;

    int Constant = 0;           // steps every granule gets
    int64_t FadeIn = 0;         // granules of the fade-in, its first one silent
    int64_t FadeOut = 0;        // granules of the fade-out, its last one silent
    // The granules that players play, counted from the cut's first frame:
    // the fades are measured within them, and with a fade the granules
    // before (after) them are silent.
    int64_t AudibleFirst = 0;
    int64_t AudibleEnd = std::numeric_limits<int64_t>::max();
    // Where removed stretches were joined (the first granule after each, in
    // the same count), and how many granules fade out before and in after
    // each join; 0 leaves the joins as they are.
    std::vector<int64_t> Joins;
    int64_t JoinFade = 0;

    // True when some granule changes: without it the cut is copied as it is.
    bool Active() const { return Constant != 0 || FadeIn > 0 || FadeOut > 0 || (JoinFade > 0 && !Joins.empty()); }
    // The step of granule g (counted from the cut's first frame).
    int StepAt(int64_t granule) const;
};

// The gain plan of a cut: steps for every granule, fades of fadeInMs and
// fadeOutMs measured in the plan's first frame's granules. A fade-out needs
// a closed plan. An exact cut (a plan with a reservoir frame) measures the
// fades within the samples players keep (its Delay and Padding).
TGainPlan PlanGain(const TCutPlan& plan, int steps, int32_t fadeInMs, int32_t fadeOutMs, int32_t joinFadeMs = 0);

// The gain plan of a join: the plans' frames one after another (plans that
// write nothing passed over), all of one format and closed, with a join
// where each plan's frames begin after another's. The fades are measured
// over the whole: the fade-in on the first plan's frames, the fade-out on
// the last one's.
TGainPlan PlanJoinGain(std::span<const TCutPlan> plans, int steps, int32_t fadeInMs, int32_t fadeOutMs,
                       int32_t joinFadeMs);

// The play time of the frames plan writes (an open plan: the time it wants).
TStreamTime PlanLength(const TCutPlan& plan);

// Why fades of fadeInMs and fadeOutMs cannot be written on audio that
// lasts length, or nothing: fades that together last longer than it would
// overlap and leave it nearly silent, which nobody asks for on purpose.
std::optional<std::string> FadesDoNotFit(TStreamTime length, int32_t fadeInMs, int32_t fadeOutMs);

struct TCutOptions;
// Why the options' fades cannot be written on the plan, or nothing: fades
// that together last longer than the piece would overlap and leave it
// nearly silent, which nobody asks for on purpose.
std::optional<std::string> FadesDoNotFit(const TCutPlan& plan, const TCutOptions& options);

} // namespace vivizu
