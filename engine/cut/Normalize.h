#pragma once
// Loudness normalisation of a cut as whole steps of global_gain: the steps
// that bring a measured integrated loudness nearest to a target, lowered
// while the true peak would pass a ceiling.
#include "engine/decode/Loudness.h"

namespace vivizu {

inline constexpr double DefaultTargetLufs = ReplayGainReferenceLufs;
inline constexpr double TruePeakCeilingDbtp = -1.0;
// What one global_gain step really scales by: 2^(1/4), 1.505 dB. The
// arithmetic below uses it so that many steps do not drift from the target.
inline constexpr double ExactGainStepDb = 1.5051499783199060;

struct TNormalizeSteps {
    int Steps = 0;            // steps of global_gain to add
    bool PeakLimited = false; // lowered from the nearest steps to keep the ceiling
    bool Silent = false;      // nothing to measure: no steps
};

// The steps nearest to targetLufs - measured.IntegratedLufs; unless
// allowClipping, lowered until measured.TruePeakDbtp plus the steps stays
// at or below ceilingDbtp (which may mean a negative gain even for a quiet
// selection whose peaks are high).
TNormalizeSteps NormalizeSteps(const TLoudness& measured, double targetLufs, bool allowClipping,
                               double ceilingDbtp = TruePeakCeilingDbtp);

// Why a measurement gives no loudness to normalise: a range with sound
// that is too short for a loudness block (0.4 s) or too quiet to pass the
// measurement's gate, or a range that is silent.
const char* SilentReason(const TLoudness& measured);

} // namespace vivizu
