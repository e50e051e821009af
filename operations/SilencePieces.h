#pragma once
// The pieces of a split at the pauses between sounds, as the window and the
// companion both find them: the stream decoded for its silences, then the
// pieces planned around the pauses.
#include "engine/cut/SilenceSplit.h"
#include "engine/decode/DecodeTypes.h"
#include "engine/decode/Silence.h"
#include "engine/decode/StreamSilences.h"
#include "engine/frames/FrameIndex.h"

#include <optional>
#include <string>

namespace vivizu {

struct TSilencePieces {
    TDecodeResult Result;      // Done, or why the stream could not be decoded
    TSilencePlan Plan;         // the pieces and the pauses split at
    int SampleRate = 0;        // of the pauses' sample positions
    bool SilentThroughout = false; // one silence covers the whole stream
};

// Finds the silences of file (its complete index) and plans the pieces:
// keep and exact as PlanSilenceSplit takes them.
TSilencePieces FindSilencePieces(const std::string& file, const TFrameIndex& index, const TSilenceOptions& silence,
                                 std::optional<TStreamTime> keep, bool exact, const TDecodeOptions& decode = {});

// The pieces around silences already found (by a decode of index's file).
TSilencePieces SilencePiecesOf(const TFrameIndex& index, const TStreamSilences& silences,
                               std::optional<TStreamTime> keep, bool exact);

} // namespace vivizu
