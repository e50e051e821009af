#pragma once
// The silences of a whole stream: its frames decoded on all cores into levels
// per 10 ms, and the quiet stretches among them.
#include "engine/decode/Silence.h"
#include "engine/frames/FrameIndex.h"

#include <string>
#include <vector>

namespace vivizu {

struct TStreamSilences {
    TDecodeResult Result;          // Done unless the decode failed or was cancelled
    int SampleRate = 0;
    std::vector<TSilence> Silences; // sample positions on the index's time line
};

// Decodes the frames of index (complete, of fileName) and finds their
// silences. The decode keeps every frame's samples (no encoder delay taken
// off), so that sample n lies at time n / rate on the index's time line.
TStreamSilences FindStreamSilences(const std::string& fileName, const TFrameIndex& index,
                                   const TSilenceOptions& silence, const TDecodeOptions& decode = {});



} // namespace vivizu
