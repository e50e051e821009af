#pragma once
// Where a cut lands best near a wanted time: the quietest boundary between
// granules (or frames) within a radius, so that markers fall into pauses.
#include "engine/decode/SideInfoLevels.h"

#include <cstdint>
#include <optional>

namespace vivizu {

class TFrameIndex;

// The granule boundary QuietestPoint picks (a multiple of step), or none
// when there is no boundary within reach or no levels.
std::optional<int64_t> QuietestBoundary(const TGranuleLevels& levels, double timeMs, double radiusMs, int step);

// The time of the quietest boundary within radiusMs of timeMs, among the
// boundaries every `step` granules (2 for the frames of MPEG-1 Layer III, 1
// for granules). A boundary is as loud as the louder of the granules on its
// two sides. Of a run of equally quiet boundaries (a pause), the middle one
// wins; of several such runs, the one nearest to timeMs. timeMs itself when
// there are no levels.
double QuietestPoint(const TGranuleLevels& levels, double timeMs, double radiusMs, int step);

// How far a marker snaps to quiet, either way.
inline constexpr double SnapReachMs = 1000.0;

// Where a marker dropped at ms lands when it snaps to quiet: the quietest
// boundary within SnapReachMs, between the frames of index (a frame holds one
// or two granules) or, with granules (the exact cut), between granules; ms
// itself when there are no levels. The boundary's time is the index's: its
// frame's start on the engine's clock, plus its granules in the frame.
//
// A marker holds whole milliseconds, and frame boundaries are seldom whole
// (at 44.1 kHz frame 5 begins at 130.612 ms), so the millisecond is the one
// that makes the cut take the boundary snapped to. The plain cut begins with
// the first frame that begins at or after START: the boundary rounded down
// (a frame lasts longer than a millisecond). The exact cut cuts at the
// sample nearest to the time: the nearest millisecond.
int64_t SnapStartToQuietMs(const TGranuleLevels& levels, int64_t ms, const TFrameIndex& index, bool granules);

// The same for END, with the selection's start at startMs. The plain cut
// copies the frames that begin before its first frame's start plus (END -
// START), so END is START plus the whole milliseconds from that first
// frame's start to the boundary: the cut then ends with the frame before the
// boundary.
int64_t SnapEndToQuietMs(const TGranuleLevels& levels, int64_t ms, const TFrameIndex& index, bool granules,
                         int64_t startMs);

} // namespace vivizu
