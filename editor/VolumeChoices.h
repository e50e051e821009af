#pragma once
// The window's volume choices for a save: gain, fades and a loudness
// target, kept in the settings file's OPTIONS section between runs.
#include "operations/GainRange.h"
#include "request/CutRequest.h"
#include "platform/Ini.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vivizu {

struct TVolumeChoices {
    static constexpr double MaxGainDb = vivizu::MaxGainDb; // either way, in steps of 1.5 dB
    static constexpr int32_t MaxFadeMs = 600 * 1000; // ten minutes
    static constexpr double MinTargetLufs = -70.0, MaxTargetLufs = 0.0;

    double GainDb = 0.0;
    int32_t FadeInMs = 0, FadeOutMs = 0;
    bool Normalize = false;
    double TargetLufs = -18.0;

    // True when a save changes the volume.
    bool Active() const { return GainDb != 0.0 || FadeInMs > 0 || FadeOutMs > 0 || Normalize; }
    // Puts the gain (as steps), the fades and the target into choices.
    void ApplyTo(TCutChoices& choices) const;

    bool operator==(const TVolumeChoices&) const = default;
};

// The choices from section of settings: a value that is missing, not a
// number or out of range gives the default (GainDb is rounded to a step).
TVolumeChoices ReadVolumeChoices(const TIniFile& settings, const std::string& section);
// The key/value lines that ReadVolumeChoices reads back: GainDb, FadeInMs,
// FadeOutMs, Normalize, TargetLufs (numbers with a '.' whatever the locale).
std::vector<std::pair<std::string, std::string>> VolumeSettingValues(const TVolumeChoices& choices);

} // namespace vivizu
