#pragma once
// Geometry and drag state of one selection marker, and the mapping between a
// marker's left edge (in the editor window's client coordinates) and a time
// in milliseconds. Plain value logic: the window applies the results to its
// image controls.
#include <cstdint>
#include <optional>

class QWidget;

namespace vivizu {

struct TPoint {
    int32_t X = 0;
    int32_t Y = 0;
};

struct TMarkerDrag {
    bool Dragging = false;        // a left-button drag of this marker is in progress
    TPoint LastPoint;             // last pointer position that moved the marker (or the press)
    int32_t MinLeft = 0;          // smallest left edge a drag may give the marker
    int32_t MaxLeft = 0;          // largest left edge a drag may give the marker
    int32_t ZeroLeft = 0;         // left edge that stands for time 0
    int32_t FullLeft = 0;         // left edge that stands for the full length
    int32_t CurLeft = 0;          // the marker's left edge as last placed
    QWidget* Container = nullptr; // drags are measured in its client coordinates; not owned
};

// Which of the two markers: the start marker (ImageStart, field RzMaskEdit1)
// or the end marker (ImageEnd, field RzMaskEdit2).
enum class TMarkerWhich { Start, End };

// The markers' left edges stay this far apart, so that the start marker is
// always left of the end marker.
inline constexpr int32_t MarkerGap = 7;

// Nearest whole number, halves to the even neighbour (212.5 -> 212,
// 213.5 -> 214). Values beyond the 64-bit range saturate.
int64_t RoundHalfEven(double value);

// Marker records as a reset leaves them, for a ruler whose left edge is
// barLeft and whose width is barWidth. The start marker runs from barLeft + 1
// to barLeft + barWidth - 24 and stands at its time-0 place; the end marker
// runs from barLeft + 7 to barLeft + barWidth - 17 and stands at its
// full-length place.
TMarkerDrag StartMarkerAtReset(int32_t barLeft, int32_t barWidth, QWidget* container);
TMarkerDrag EndMarkerAtReset(int32_t barLeft, int32_t barWidth, QWidget* container);

// The time the marker's CurLeft stands for on a ruler of maxPos milliseconds:
// maxPos * (CurLeft - ZeroLeft) / (FullLeft - ZeroLeft), rounded. The product
// is formed in 64 bits, the division in floating point. A record with no span
// (FullLeft <= ZeroLeft) gives 0.
int64_t MarkerLeftToMs(const TMarkerDrag& marker, int32_t maxPos);

// The left edge that stands for ms on a stream of lengthMs milliseconds:
// ZeroLeft + round((FullLeft - ZeroLeft) * ms / lengthMs). A length of 0 (or
// less) has no mapping: the result is the time-0 place, ZeroLeft. Results
// outside the 32-bit range saturate.
int32_t MsToMarkerLeft(const TMarkerDrag& marker, int64_t ms, int64_t lengthMs);

// One pointer move of a drag. p is the pointer in the container's client
// coordinates, currentLeft the image's present left edge. The marker moves by
// the pointer's horizontal travel since LastPoint, held within MinLeft ..
// MaxLeft. When that leaves it where it is, nothing changes (LastPoint stays,
// so the grab point stays under the pointer after it ran past a limit) and
// the result is empty. Otherwise LastPoint := p, CurLeft := the new left edge,
// which is returned.
std::optional<int32_t> DragMarkerTo(TMarkerDrag& marker, int32_t currentLeft, TPoint p);

} // namespace vivizu
