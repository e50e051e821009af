#include "editor/MarkerDrag.h"

#include <cmath>
#include <limits>

namespace vivizu {

namespace {

template <typename Int>
Int SaturatingRound(double value) {
    // Bounds as doubles: the upper one is exactly 2^(bits-1), one above the
    // largest value, so "value >= hi" catches everything that would overflow.
    constexpr double lo = static_cast<double>(std::numeric_limits<Int>::min());
    constexpr double hi = -lo;
    if (std::isnan(value)) return 0;
    if (value < lo) return std::numeric_limits<Int>::min();
    if (value >= hi) return std::numeric_limits<Int>::max();
    return static_cast<Int>(value);
}

} // namespace

int64_t RoundHalfEven(double value) {
    const double down = std::floor(value);
    const double fraction = value - down;
    double result = down;
    if (fraction > 0.5) {
        result = down + 1.0;
    } else if (fraction == 0.5) {
        // A tie: take the even one of the two neighbours.
        result = std::fmod(down, 2.0) == 0.0 ? down : down + 1.0;
    }
    return SaturatingRound<int64_t>(result);
}

TMarkerDrag StartMarkerAtReset(int32_t barLeft, int32_t barWidth, QWidget* container) {
    TMarkerDrag m;
    m.Container = container;
    m.MinLeft = m.ZeroLeft = m.CurLeft = barLeft + 1;
    m.MaxLeft = m.FullLeft = barLeft + barWidth - 24;
    return m;
}

TMarkerDrag EndMarkerAtReset(int32_t barLeft, int32_t barWidth, QWidget* container) {
    TMarkerDrag m;
    m.Container = container;
    m.MinLeft = m.ZeroLeft = barLeft + MarkerGap;
    m.MaxLeft = m.FullLeft = m.CurLeft = barLeft + barWidth - 17;
    return m;
}

int64_t MarkerLeftToMs(const TMarkerDrag& marker, int32_t maxPos) {
    const int64_t span = int64_t{marker.FullLeft} - marker.ZeroLeft;
    if (span <= 0) return 0;
    const int64_t product = int64_t{maxPos} * (int64_t{marker.CurLeft} - marker.ZeroLeft);
    return RoundHalfEven(static_cast<double>(product) / static_cast<double>(span));
}

int32_t MsToMarkerLeft(const TMarkerDrag& marker, int64_t ms, int64_t lengthMs) {
    if (lengthMs <= 0) return marker.ZeroLeft;
    const int64_t span = int64_t{marker.FullLeft} - marker.ZeroLeft;
    // Formed in floating point, so no input overflows. For every time a time
    // text can say (under 2^32 ms) both factors are exact doubles, and the
    // product is the exact one rounded once, as a 64-bit product would be.
    const double product = static_cast<double>(span) * static_cast<double>(ms);
    const double offset = static_cast<double>(
        RoundHalfEven(product / static_cast<double>(lengthMs)));
    return SaturatingRound<int32_t>(static_cast<double>(marker.ZeroLeft) + offset);
}

std::optional<int32_t> DragMarkerTo(TMarkerDrag& marker, int32_t currentLeft, TPoint p) {
    int64_t newLeft = int64_t{currentLeft} + (int64_t{p.X} - marker.LastPoint.X);
    if (newLeft < marker.MinLeft) {
        newLeft = marker.MinLeft;
    } else if (newLeft > marker.MaxLeft) {
        newLeft = marker.MaxLeft;
    }
    if (newLeft == currentLeft) return std::nullopt;
    marker.LastPoint = p;
    marker.CurLeft = static_cast<int32_t>(newLeft);
    return marker.CurLeft;
}

} // namespace vivizu
