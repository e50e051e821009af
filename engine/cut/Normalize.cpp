#include "engine/cut/Normalize.h"

#include <cmath>

namespace vivizu {

TNormalizeSteps NormalizeSteps(const TLoudness& measured, double targetLufs, bool allowClipping,
                               double ceilingDbtp)
{
    TNormalizeSteps result;
    if (!std::isfinite(measured.IntegratedLufs) || !std::isfinite(targetLufs)) {
        result.Silent = true;
        return result;
    }
    result.Steps = static_cast<int>(std::lround((targetLufs - measured.IntegratedLufs) / ExactGainStepDb));
    if (!allowClipping && std::isfinite(measured.TruePeakDbtp)) {
        // The most steps that keep the peak at or below the ceiling; a hair
        // of tolerance so that a peak exactly on the ceiling stays there.
        const double room = (ceilingDbtp - measured.TruePeakDbtp) / ExactGainStepDb;
        const int most = static_cast<int>(std::floor(room + 1e-9));
        if (result.Steps > most) {
            result.Steps = most;
            result.PeakLimited = true;
        }
    }
    return result;
}

const char* SilentReason(const TLoudness& measured)
{
    if (std::isfinite(measured.SamplePeakDbfs))
        return "the range is too short or too quiet to measure its loudness (it needs 0.4 s above -70 LUFS)";
    return "the range is silent";
}

} // namespace vivizu
