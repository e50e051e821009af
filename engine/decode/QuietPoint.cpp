#include "engine/decode/QuietPoint.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace vivizu {
namespace {

// Levels closer than this count as equally quiet.
constexpr float SameQuiet = 1.0f / 120.0f;

} // namespace

double QuietestPoint(const TGranuleLevels& levels, double timeMs, double radiusMs, int step)
{
    const auto count = static_cast<int64_t>(levels.Levels.size());
    if (count == 0 || levels.MsPerGranule <= 0 || step <= 0)
        return timeMs;
    const double granule = levels.MsPerGranule;
    const auto first = std::max<int64_t>(0, static_cast<int64_t>(std::ceil((timeMs - radiusMs) / granule / step)) * step);
    const auto last = std::min<int64_t>(count, static_cast<int64_t>(std::floor((timeMs + radiusMs) / granule / step)) * step);
    if (first > last)
        return timeMs;
    auto loudness = [&](int64_t boundary) {
        const float before = boundary > 0 ? levels.Levels[static_cast<size_t>(boundary - 1)] : 0.0f;
        const float after = boundary < count ? levels.Levels[static_cast<size_t>(boundary)] : 0.0f;
        return std::max(before, after);
    };
    float quietest = std::numeric_limits<float>::max();
    for (int64_t b = first; b <= last; b += step)
        quietest = std::min(quietest, loudness(b));

    double best = timeMs;
    double bestDistance = std::numeric_limits<double>::max();
    for (int64_t b = first; b <= last; b += step) {
        if (loudness(b) > quietest + SameQuiet)
            continue;
        int64_t end = b;
        while (end + step <= last && loudness(end + step) <= quietest + SameQuiet)
            end += step;
        const int64_t middle = b + (end - b) / step / 2 * step;
        const double at = static_cast<double>(middle) * granule;
        if (std::abs(at - timeMs) < bestDistance) {
            bestDistance = std::abs(at - timeMs);
            best = at;
        }
        b = end;
    }
    return best;
}

namespace {

// Boundaries computed as a count of granules times their length may miss a
// whole millisecond by a rounding error; this much counts as reaching it.
constexpr double WholeMsSlack = 1e-6;

// The granules between the boundaries a marker may snap to.
int SnapStep(const TGranuleLevels& levels, double frameMs, bool granules)
{
    return granules ? 1 : std::max(1, static_cast<int>(std::lround(frameMs / levels.MsPerGranule)));
}

} // namespace

namespace {

// The quietest boundary within reach of ms, on the grid of step granules;
// none without levels.
std::optional<double> QuietBoundary(const TGranuleLevels& levels, int64_t ms, double frameMs, bool granules,
                                    int& step)
{
    if (levels.Empty() || levels.MsPerGranule <= 0)
        return std::nullopt;
    step = SnapStep(levels, frameMs, granules);
    return QuietestPoint(levels, static_cast<double>(ms), SnapReachMs, step);
}

} // namespace

int64_t SnapStartToQuietMs(const TGranuleLevels& levels, int64_t ms, double frameMs, bool granules)
{
    int step = 1;
    const std::optional<double> boundary = QuietBoundary(levels, ms, frameMs, granules, step);
    if (!boundary)
        return ms;
    if (granules)
        return std::llround(*boundary);
    return static_cast<int64_t>(std::floor(*boundary + WholeMsSlack));
}

int64_t SnapEndToQuietMs(const TGranuleLevels& levels, int64_t ms, double frameMs, bool granules, int64_t startMs)
{
    int step = 1;
    const std::optional<double> found = QuietBoundary(levels, ms, frameMs, granules, step);
    if (!found)
        return ms;
    const double boundary = *found;
    if (granules)
        return std::llround(boundary);
    // The start of the first frame at or after START, on the same grid.
    const double frame = step * levels.MsPerGranule;
    const double start = static_cast<double>(std::max<int64_t>(startMs, 0));
    const double firstFrame = std::ceil(start / frame - WholeMsSlack / frame) * frame;
    return startMs + static_cast<int64_t>(std::floor(boundary - firstFrame + WholeMsSlack));
}

} // namespace vivizu
