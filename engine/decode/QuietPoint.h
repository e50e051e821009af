#pragma once
// Where a cut lands best near a wanted time: the quietest boundary between
// granules (or frames) within a radius, so that markers fall into pauses.
#include "engine/decode/SideInfoLevels.h"

#include <cstdint>

namespace vivizu {

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
// boundary within SnapReachMs, between frames of frameMs (a frame holds one
// or two granules) or, with granules, between granules; whole milliseconds.
// ms itself when there are no levels.
int64_t SnapToQuietMs(const TGranuleLevels& levels, int64_t ms, double frameMs, bool granules);

} // namespace vivizu
