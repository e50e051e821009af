#include "cli/VolumeOptions.h"

namespace vivizu {

std::optional<std::string> ReadVolumeOption(int id, const std::string& value, TCutChoices& choices)
{
    switch (id) {
    case VolOptGain: return ParseGainOption(value, choices.GainSteps);
    case VolOptFadeIn: return ParseFadeOption("--fade-in", value, choices.FadeInMs);
    case VolOptFadeOut: return ParseFadeOption("--fade-out", value, choices.FadeOutMs);
    case VolOptJoinFade: return ParseFadeOption("--join-fade", value, choices.JoinFadeMs);
    case VolOptNormalize: return ParseNormalizeOption(value, choices.NormalizeLufs);
    case VolOptAllowClipping: choices.AllowClipping = true; return std::nullopt;
    default: return std::nullopt;
    }
}

} // namespace vivizu
