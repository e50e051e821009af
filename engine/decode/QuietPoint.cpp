#include "engine/decode/QuietPoint.h"

#include "engine/frames/FrameIndex.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

namespace vivizu {
namespace {

// Levels closer than this count as equally quiet.
constexpr float SameQuiet = 1.0f / 120.0f;

} // namespace

std::optional<int64_t> QuietestBoundary(const TGranuleLevels& levels, double timeMs, double radiusMs, int step)
{
    const auto count = static_cast<int64_t>(levels.Levels.size());
    if (count == 0 || levels.MsPerGranule <= 0 || step <= 0)
        return std::nullopt;
    const double granule = levels.MsPerGranule;
    const auto first = std::max<int64_t>(0, static_cast<int64_t>(std::ceil((timeMs - radiusMs) / granule / step)) * step);
    const auto last = std::min<int64_t>(count, static_cast<int64_t>(std::floor((timeMs + radiusMs) / granule / step)) * step);
    if (first > last)
        return std::nullopt;
    auto loudness = [&](int64_t boundary) {
        const float before = boundary > 0 ? levels.Levels[static_cast<size_t>(boundary - 1)] : 0.0f;
        const float after = boundary < count ? levels.Levels[static_cast<size_t>(boundary)] : 0.0f;
        return std::max(before, after);
    };
    float quietest = std::numeric_limits<float>::max();
    for (int64_t b = first; b <= last; b += step)
        quietest = std::min(quietest, loudness(b));

    std::optional<int64_t> best;
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
            best = middle;
        }
        b = end;
    }
    return best;
}

double QuietestPoint(const TGranuleLevels& levels, double timeMs, double radiusMs, int step)
{
    const std::optional<int64_t> boundary = QuietestBoundary(levels, timeMs, radiusMs, step);
    return boundary ? static_cast<double>(*boundary) * levels.MsPerGranule : timeMs;
}

namespace {

// The time of granule boundary `boundary` on the index's clock: the start of
// its frame, plus the granules before it within the frame; the end of the
// indexed frames for a boundary at or past it.
TStreamTime BoundaryTime(const TFrameIndex& index, int64_t boundary, int granulesPerFrame)
{
    const auto frame = static_cast<size_t>(boundary / granulesPerFrame);
    const int64_t within = boundary % granulesPerFrame;
    if (frame >= index.Count())
        return index.StartOf(index.Count());
    const TStreamTime start = index.StartOf(frame);
    if (within == 0)
        return start;
    return {start.Ticks + (index.StartOf(frame + 1).Ticks - start.Ticks) * within / granulesPerFrame};
}

// The millisecond nearest to a time at or after the stream's start.
int64_t NearestMs(TStreamTime time) { return (time.Ticks + TStreamTime::TicksPerMs / 2) / TStreamTime::TicksPerMs; }

// The quietest boundary within reach of ms, on the grid of frames (or of
// granules); none without levels or frames.
std::optional<int64_t> QuietBoundary(const TGranuleLevels& levels, int64_t ms, const TFrameIndex& index, bool granules,
                                     int& perFrame)
{
    if (index.Count() == 0)
        return std::nullopt;
    // The levels' grid has the granules of the stream's frames.
    perFrame = std::max(1, index.HeaderOf(0).Granules());
    return QuietestBoundary(levels, static_cast<double>(ms), SnapReachMs, granules ? 1 : perFrame);
}

} // namespace

int64_t SnapStartToQuietMs(const TGranuleLevels& levels, int64_t ms, const TFrameIndex& index, bool granules)
{
    int perFrame = 1;
    const std::optional<int64_t> boundary = QuietBoundary(levels, ms, index, granules, perFrame);
    if (!boundary)
        return ms;
    const TStreamTime at = BoundaryTime(index, *boundary, perFrame);
    return granules ? NearestMs(at) : at.WholeMs();
}

int64_t SnapEndToQuietMs(const TGranuleLevels& levels, int64_t ms, const TFrameIndex& index, bool granules,
                         int64_t startMs)
{
    int perFrame = 1;
    const std::optional<int64_t> boundary = QuietBoundary(levels, ms, index, granules, perFrame);
    if (!boundary)
        return ms;
    const TStreamTime at = BoundaryTime(index, *boundary, perFrame);
    if (granules)
        return NearestMs(at);
    // The plain cut copies from the first frame at or after START.
    const size_t first = index.FirstAtOrAfter(TStreamTime::FromMs(std::max<int64_t>(startMs, 0)));
    return startMs + (at - index.StartOf(first)).WholeMs();
}

} // namespace vivizu
