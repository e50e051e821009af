#include "request/EditList.h"

#include "engine/TimeText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace vivizu {
namespace {

// A decimal number of seconds as whole milliseconds; none for anything else.
std::optional<int64_t> SecondsToMs(const std::string& word)
{
    if (word.empty())
        return std::nullopt;
    char* end = nullptr;
    const double seconds = std::strtod(word.c_str(), &end);
    if (end != word.c_str() + word.size() || !std::isfinite(seconds) || seconds < 0 || seconds > 1e9)
        return std::nullopt;
    return static_cast<int64_t>(std::llround(seconds * 1000.0));
}

} // namespace

std::optional<TRemoved> ParseStretch(const std::string& text)
{
    const size_t dash = text.find('-');
    if (dash == std::string::npos || text.find('-', dash + 1) != std::string::npos)
        return std::nullopt;
    const auto from = ParseTimeText(text.substr(0, dash));
    const auto to = ParseTimeText(text.substr(dash + 1));
    if (!from || !to || *to <= *from)
        return std::nullopt;
    return TRemoved{*from, *to};
}

TEditList ParseEditList(const std::string& text)
{
    TEditList list;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::istringstream words(line);
        std::string start, end, action, extra;
        words >> start;
        if (start.empty() || start[0] == '#')
            continue;
        words >> end >> action >> extra;
        const auto from = SecondsToMs(start);
        const auto to = SecondsToMs(end);
        char* actionEnd = nullptr;
        const long kind = std::strtol(action.c_str(), &actionEnd, 10);
        if (!from || !to || action.empty() || *actionEnd != '\0' || !extra.empty()) {
            list.Error = "line " + std::to_string(number) + ": expects START END ACTION (seconds, seconds, 0 to 3)";
            list.Removed.clear();
            return list;
        }
        if (*to <= *from) {
            list.Error = "line " + std::to_string(number) + ": the end is not after the start";
            list.Removed.clear();
            return list;
        }
        if (kind == 0 || kind == 3)
            list.Removed.push_back({*from, *to});
    }
    return list;
}

std::string EditListText(const std::vector<TRemoved>& removed)
{
    std::string text;
    for (const TRemoved& r : removed) {
        char line[80];
        std::snprintf(line, sizeof line, "%lld.%03lld\t%lld.%03lld\t0\n", static_cast<long long>(r.FromMs / 1000),
                      static_cast<long long>(r.FromMs % 1000), static_cast<long long>(r.ToMs / 1000),
                      static_cast<long long>(r.ToMs % 1000));
        text += line;
    }
    return text;
}

} // namespace vivizu
