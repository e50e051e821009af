#include "editor/VolumeChoices.h"

#include "engine/cut/GainPlan.h"

#include <charconv>
#include <cmath>
#include <optional>

namespace vivizu {
namespace {

// A decimal number, the whole text, read the same in every locale.
std::optional<double> Number(const std::string& text)
{
    double value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, ec] = std::from_chars(text.data(), end, value, std::chars_format::fixed);
    if (text.empty() || ec != std::errc() || stop != end || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string Text(double value)
{
    char buffer[32];
    const auto [stop, ec] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 1);
    return ec == std::errc() ? std::string(buffer, stop) : std::string("0");
}

} // namespace

void TVolumeChoices::ApplyTo(TCutChoices& choices) const
{
    choices.GainSteps = GainStepsForDb(GainDb);
    choices.FadeInMs = FadeInMs;
    choices.FadeOutMs = FadeOutMs;
    if (Normalize)
        choices.NormalizeLufs = TargetLufs;
    else
        choices.NormalizeLufs.reset();
}

TVolumeChoices ReadVolumeChoices(const TIniFile& settings, const std::string& section)
{
    TVolumeChoices c;
    const auto read = [&](const char* key, double low, double high) -> std::optional<double> {
        const auto value = Number(settings.ReadString(section, key, ""));
        if (!value || *value < low || *value > high)
            return std::nullopt;
        return value;
    };
    if (const auto db = read("GainDb", -TVolumeChoices::MaxGainDb, TVolumeChoices::MaxGainDb))
        c.GainDb = GainStepsForDb(*db) * GainStepDb;
    if (const auto ms = read("FadeInMs", 0, TVolumeChoices::MaxFadeMs))
        c.FadeInMs = static_cast<int32_t>(std::lround(*ms));
    if (const auto ms = read("FadeOutMs", 0, TVolumeChoices::MaxFadeMs))
        c.FadeOutMs = static_cast<int32_t>(std::lround(*ms));
    c.Normalize = settings.ReadString(section, "Normalize", "0") == "1";
    if (const auto lufs = read("TargetLufs", TVolumeChoices::MinTargetLufs, TVolumeChoices::MaxTargetLufs))
        c.TargetLufs = *lufs;
    return c;
}

std::vector<std::pair<std::string, std::string>> VolumeSettingValues(const TVolumeChoices& choices)
{
    return {
        {"GainDb", Text(choices.GainDb)},
        {"FadeInMs", std::to_string(choices.FadeInMs)},
        {"FadeOutMs", std::to_string(choices.FadeOutMs)},
        {"Normalize", choices.Normalize ? "1" : "0"},
        {"TargetLufs", Text(choices.TargetLufs)},
    };
}

} // namespace vivizu
