#include "engine/TimeText.h"

#include <vector>

namespace vivizu {
namespace {

std::string Padded(int64_t value, std::size_t digits)
{
    std::string s = std::to_string(value);
    if (s.size() < digits) s.insert(0, digits - s.size(), '0');
    return s;
}

// A run of 1 to maxDigits decimal digits.
std::optional<int64_t> ParseDigits(std::string_view s, std::size_t maxDigits)
{
    if (s.empty() || s.size() > maxDigits) return std::nullopt;
    int64_t value = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// Long enough for any time a cut can take, short enough never to overflow.
constexpr std::size_t MaxLeadingDigits = 12;

} // namespace

std::string FormatTimeText(int64_t ms)
{
    if (ms < 0) {
        // The magnitude of INT64_MIN does not fit; nothing real is that long.
        return "-" + FormatTimeText(ms == INT64_MIN ? INT64_MAX : -ms);
    }
    const int64_t hours = ms / 3600000;
    int64_t rest = ms - hours * 3600000;
    const int64_t minutes = rest / 60000;
    rest -= minutes * 60000;
    const int64_t seconds = rest / 1000;
    const int64_t millis = rest % 1000;
    return Padded(hours, 3) + ":" + Padded(minutes, 2) + ":" + Padded(seconds, 2) + "." +
           Padded(millis, 3);
}

std::optional<int64_t> ParseTimeText(std::string_view text)
{
    const auto dot = text.find('.');
    if (text.find(':') == std::string_view::npos && dot == std::string_view::npos)
        return ParseDigits(text, MaxLeadingDigits); // whole milliseconds

    int64_t millis = 0;
    if (dot != std::string_view::npos) {
        const std::string_view fraction = text.substr(dot + 1);
        const auto digits = ParseDigits(fraction, 3);
        if (!digits) return std::nullopt;
        millis = *digits;
        for (std::size_t i = fraction.size(); i < 3; ++i) millis *= 10; // ".5" is 500 ms
        text = text.substr(0, dot);
    }

    std::vector<std::string_view> parts;
    while (true) {
        const auto colon = text.find(':');
        parts.push_back(text.substr(0, colon));
        if (colon == std::string_view::npos) break;
        text.remove_prefix(colon + 1);
    }
    if (parts.size() > 3) return std::nullopt;

    int64_t total = 0;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const bool leading = i == 0;
        const auto value = ParseDigits(parts[i], leading ? MaxLeadingDigits : 2);
        if (!value || (!leading && *value >= 60)) return std::nullopt;
        total = total * 60 + *value;
    }
    return total * 1000 + millis;
}

} // namespace vivizu
