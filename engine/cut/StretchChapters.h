#pragma once
// Chapters for a cut with stretches removed: one where each kept stretch
// begins in the output, so that players can jump from one to the next.
#include "engine/cut/CutPlan.h"
#include "engine/tags/Id3v2Chapters.h"
#include <vector>

namespace vivizu {

// One chapter for the plan's own frames and one for each later run, each
// beginning with the silent frame that carries its borrowed bytes (as a
// join's chapter does). Times count the samples players play: when the
// plan's header gives a delay, from the first sample after the delay and
// the decoder's own, and the last chapter ends where the padding begins;
// else from the first frame. Each chapter is titled by where its stretch
// begins in the source: the first by firstSource, the others by their first
// frame's time less sourceZero (the frame time where the timeline of the
// cut's times begins).
std::vector<TChapter> StretchChapters(const TCutPlan& plan, TStreamTime firstSource, TStreamTime sourceZero = {});

} // namespace vivizu
