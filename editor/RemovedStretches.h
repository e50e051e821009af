#pragma once
// The stretches the user has removed from the loaded stream, as the window
// keeps them: sorted by start, none overlapping or touching another (a new
// stretch that overlaps or touches others becomes one with them). Times in
// milliseconds of the source.
#include "engine/CutResult.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace vivizu {

using TRemovedList = std::vector<TRemoved>;

// list with stretch added, merged with every stretch it overlaps or
// touches. A stretch whose end is not after its start adds nothing.
TRemovedList WithStretch(TRemovedList list, TRemoved stretch);

// Whether the two lists hold the same stretches.
bool SameStretches(const TRemovedList& a, const TRemovedList& b);

// The index of the stretch that holds time (its ends included), if any.
std::optional<std::size_t> StretchAt(const TRemovedList& list, int64_t time);

// The parts of the stretches that lie within from..to, cut to it: what a
// cut of from..to leaves out.
TRemovedList RemovedWithin(const TRemovedList& list, int64_t from, int64_t to);

// The length of from..to without the stretches removed from it.
int64_t KeptLength(const TRemovedList& list, int64_t from, int64_t to);

// The source time t into a cut that starts at from and leaves out the
// stretches of list: from + t plus the lengths of the removed stretches
// passed on the way. A time at a join maps to the first time kept after it.
int64_t SourceTimeOfCut(const TRemovedList& list, int64_t from, int64_t t);

} // namespace vivizu
