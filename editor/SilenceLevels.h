#pragma once
// The loudness of a whole stream in blocks of 10 ms, kept small (the louder
// channel's RMS of each block), so that the pauses for any threshold and
// shortest pause are found again at once: the split dialog counts the pieces
// while the user changes its values. The blocks are those a silence split
// decodes, so the pauses found are the same to the sample.
#include "engine/decode/DecodeTypes.h"
#include "engine/decode/Silence.h"
#include "engine/frames/FrameIndex.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

namespace vivizu {

struct TSilenceLevels {
    struct TBlock {
        int64_t Start = 0;
        int32_t Count = 0;
        float Rms = 0.0f; // the louder channel's
    };
    TDecodeResult Result; // Done unless the decode failed or was cancelled
    int SampleRate = 0;
    std::vector<TBlock> Blocks;
};

// Decodes the frames of index (complete, of fileName) into blocks as
// FindStreamSilences does; cancel, when set, ends the decode early.
TSilenceLevels DecodeSilenceLevels(const std::string& fileName, const TFrameIndex& index,
                                   const std::atomic<bool>* cancel = nullptr);

// The silences of the blocks, as FindStreamSilences finds them with options.
std::vector<TSilence> SilencesOf(const TSilenceLevels& levels, const TSilenceOptions& options);

// How many pieces a split at the pauses among silences makes (1 when none
// lies between sounds): the count the companion's split plans.
size_t SplitPieceCount(const TFrameIndex& index, const std::vector<TSilence>& silences, int sampleRate,
                       bool exact);

} // namespace vivizu
