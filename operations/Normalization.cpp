#include "operations/Normalization.h"

#include "engine/cut/GainPlan.h"
#include "engine/decode/SelectionLoudness.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace vivizu {
namespace {

std::string Decibels(double v, const char* format)
{
    if (!std::isfinite(v)) return "-inf";
    char text[32];
    std::snprintf(text, sizeof text, format, v);
    return text;
}

} // namespace

namespace {

TNormalization Normalization(const TLoudnessResult& measured, double targetLufs, bool allowClipping)
{
    TNormalization n;
    n.Status = measured.Result.Status;
    n.Message = measured.Result.Message;
    n.Loudness = measured.Loudness;
    if (n.Measured())
        n.Steps = NormalizeSteps(measured.Loudness, targetLufs, allowClipping);
    return n;
}

} // namespace

TNormalization MeasureNormalization(TRoruvoMP3& mp3, int32_t startMs, int32_t endMs, double targetLufs,
                                    bool allowClipping, const TDecodeOptions& options)
{
    return Normalization(MeasureSelectionLoudness(mp3, startMs, endMs, options), targetLufs, allowClipping);
}

TNormalization MeasureJoinNormalization(std::span<const TNormalizedRange> ranges, double targetLufs,
                                        bool allowClipping, const TDecodeOptions& options)
{
    std::vector<TSelectionFrames> selections;
    for (const TNormalizedRange& range : ranges)
        selections.push_back(SelectionFrames(*range.Mp3, range.StartMs, range.EndMs));
    return Normalization(MeasureSelectionsLoudness(selections, options), targetLufs, allowClipping);
}

std::string NormalizationLines(const TNormalization& n, double targetLufs)
{
    const TLoudness& l = n.Loudness;
    const TNormalizeSteps& steps = n.Steps;
    std::string lines = "loudness: " + Decibels(l.IntegratedLufs, "%.2f") + " LUFS, true peak " +
                        Decibels(l.TruePeakDbtp, "%.2f") + " dBTP\n";
    if (steps.Silent)
        lines += std::string("normalize: ") + SilentReason(l) + "; no gain\n";
    else
        lines += "normalize: " + std::to_string(steps.Steps) + " steps of 1.5 dB (" +
                 Decibels(steps.Steps * GainStepDb, "%+.1f") + " dB) to " + Decibels(targetLufs, "%.1f") +
                 " LUFS" + (steps.PeakLimited ? ", lowered to keep the true peak at or below -1 dBTP" : "") + "\n";
    return lines;
}

std::string PieceNormalizationText(const TNormalization& n)
{
    char line[160];
    if (n.Steps.Silent)
        std::snprintf(line, sizeof line, "%s; no gain", SilentReason(n.Loudness));
    else
        std::snprintf(line, sizeof line, "%.2f LUFS, true peak %.2f dBTP: %d %s of 1.5 dB%s",
                      n.Loudness.IntegratedLufs, n.Loudness.TruePeakDbtp, n.Steps.Steps,
                      std::abs(n.Steps.Steps) == 1 ? "step" : "steps",
                      n.Steps.PeakLimited ? " (lowered to keep -1 dBTP)" : "");
    return line;
}

} // namespace vivizu
