#include "engine/cut/GainPlan.h"

#include "engine/CutResult.h"
#include "engine/cut/LengthHeader.h"
#include "engine/cut/SplitPlan.h"

#include <cstdio>
#include <string>

#include <algorithm>
#include <cmath>

namespace vivizu {
namespace {

// Granule i of a fade of n granules, counted from its silent end: equal
// steps in dB from FadeDepth below at the silent granule to 0 at the last.
int FadeStep(int64_t i, int64_t n)
{
    if (i <= 0 || n <= 1)
        return TGainPlan::Silent;
    const int64_t span = n - 1;
    return -static_cast<int>((TGainPlan::FadeDepth * (span - i) + span / 2) / span);
}

// Granules of granuleSamples at rate that ms lasts, rounded; at least one
// for any positive time.
int64_t FadeGranules(int32_t ms, int64_t rate, int64_t granuleSamples)
{
    if (ms <= 0 || rate <= 0 || granuleSamples <= 0)
        return 0;
    const int64_t samples = (int64_t{ms} * rate + 500) / 1000;
    return std::max<int64_t>(1, (samples + granuleSamples / 2) / granuleSamples);
}

} // namespace

int GainStepsForDb(double db)
{
    return static_cast<int>(std::lround(db / GainStepDb));
}

int TGainPlan::StepAt(int64_t granule) const
{
    if ((FadeIn > 0 && granule < AudibleFirst) || (FadeOut > 0 && granule >= AudibleEnd))
        return Silent;
    int fade = 0;
    if (FadeIn > 0 && granule - AudibleFirst < FadeIn)
        fade = FadeStep(granule - AudibleFirst, FadeIn);
    if (FadeOut > 0 && AudibleEnd - 1 - granule < FadeOut)
        fade = std::min(fade, FadeStep(AudibleEnd - 1 - granule, FadeOut));
    if (JoinFade > 0) {
        // The nearest join: the granules before it fade out towards it, the
        // ones from it on fade in.
        const auto after = std::upper_bound(Joins.begin(), Joins.end(), granule);
        if (after != Joins.end() && *after - 1 - granule < JoinFade)
            fade = std::min(fade, FadeStep(*after - 1 - granule, JoinFade));
        if (after != Joins.begin() && granule - *(after - 1) < JoinFade)
            fade = std::min(fade, FadeStep(granule - *(after - 1), JoinFade));
    }
    return fade == Silent ? Silent : Constant + fade;
}

namespace {

// The constant gain and the lengths of the fades in granules of header's
// stream; the joins and the audible granules are the caller's.
TGainPlan FadedGain(TMpegHeader header, int steps, int32_t fadeInMs, int32_t fadeOutMs, int32_t joinFadeMs)
{
    TGainPlan gain;
    gain.Constant = steps;
    const int64_t granuleSamples = header.SamplesPerFrame() / header.Granules();
    gain.FadeIn = FadeGranules(fadeInMs, header.SampleRate(), granuleSamples);
    gain.FadeOut = FadeGranules(fadeOutMs, header.SampleRate(), granuleSamples);
    gain.JoinFade = FadeGranules(joinFadeMs, header.SampleRate(), granuleSamples);
    return gain;
}

} // namespace

TGainPlan PlanGain(const TCutPlan& plan, int steps, int32_t fadeInMs, int32_t fadeOutMs, int32_t joinFadeMs)
{
    if (plan.Empty()) {
        TGainPlan gain;
        gain.Constant = steps;
        return gain;
    }
    const TMpegHeader header = plan.AudioHeader();
    const int64_t spf = header.SamplesPerFrame();
    const int64_t granuleSamples = spf / header.Granules();
    TGainPlan gain = FadedGain(header, steps, fadeInMs, fadeOutMs, joinFadeMs);
    int64_t granules = static_cast<int64_t>(plan.Last - plan.First) * header.Granules();
    for (const TPlanRun& run : plan.Later) {
        gain.Joins.push_back(granules);
        granules += static_cast<int64_t>(run.Last - run.First) * header.Granules();
    }
    if (!plan.ReservoirFrame.empty()) {
        // An exact cut: its reservoir frame goes before the frames counted
        // here, and players drop Delay samples (past the decoder's own) at
        // the start and Padding at the end.
        const int64_t first = std::max<int64_t>(0, plan.Delay + DecoderDelay - spf);
        const int64_t end = static_cast<int64_t>(plan.FrameCount()) * spf + DecoderDelay - plan.Padding;
        gain.AudibleFirst = first / granuleSamples;
        gain.AudibleEnd = std::max(gain.AudibleFirst + 1, (end + granuleSamples - 1) / granuleSamples);
    } else if (!plan.Open) {
        gain.AudibleEnd = static_cast<int64_t>(plan.FrameCount()) * header.Granules();
    } else {
        gain.FadeOut = 0; // an open plan's end is not known; callers close it for a fade-out
    }
    return gain;
}

namespace {

std::string SecondsText(int64_t ms)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f s", static_cast<double>(ms) / 1000.0);
    return text;
}

} // namespace

TGainPlan PlanJoinGain(std::span<const TCutPlan> plans, int steps, int32_t fadeInMs, int32_t fadeOutMs,
                       int32_t joinFadeMs)
{
    const auto audio = std::find_if(plans.begin(), plans.end(), [](const TCutPlan& p) { return !p.Empty(); });
    if (audio == plans.end()) {
        TGainPlan gain;
        gain.Constant = steps;
        return gain;
    }
    // One format throughout: every frame holds as many granules as the first.
    const int perFrame = audio->AudioHeader().Granules();
    TGainPlan gain = FadedGain(audio->AudioHeader(), steps, fadeInMs, fadeOutMs, joinFadeMs);
    int64_t granules = 0;
    for (const TCutPlan& plan : plans) {
        if (plan.Empty())
            continue;
        if (granules > 0)
            gain.Joins.push_back(granules);
        granules += static_cast<int64_t>(plan.FrameCount()) * perFrame;
    }
    gain.AudibleEnd = granules;
    return gain;
}

TStreamTime PlanLength(const TCutPlan& plan)
{
    if (plan.Empty())
        return {};
    TStreamTime length = plan.Open ? plan.Wanted : plan.Index->StartOf(plan.Last) - plan.Index->StartOf(plan.First);
    for (const TPlanRun& run : plan.Later)
        length += plan.Index->StartOf(run.Last) - plan.Index->StartOf(run.First);
    return length;
}

std::optional<std::string> FadesDoNotFit(TStreamTime length, int32_t fadeInMs, int32_t fadeOutMs)
{
    const int64_t fades = int64_t{std::max(fadeInMs, 0)} + std::max(fadeOutMs, 0);
    if (fades == 0 || TStreamTime::FromMs(fades) <= length)
        return std::nullopt;
    const std::string asked = fadeInMs > 0 && fadeOutMs > 0
                                  ? "the fades (" + SecondsText(fadeInMs) + " in, " + SecondsText(fadeOutMs) +
                                        " out) last longer"
                              : fadeInMs > 0 ? "the fade-in of " + SecondsText(fadeInMs) + " lasts longer"
                                             : "the fade-out of " + SecondsText(fadeOutMs) + " lasts longer";
    return asked + " than the " + SecondsText(RoundedMs(length)) + " cut; make " +
           (fadeInMs > 0 && fadeOutMs > 0 ? "them" : "it") + " shorter";
}

std::optional<std::string> FadesDoNotFit(const TCutPlan& plan, const TCutOptions& options)
{
    if (plan.Empty())
        return std::nullopt;
    return FadesDoNotFit(PlanLength(plan), options.FadeInMs, options.FadeOutMs);
}

} // namespace vivizu
