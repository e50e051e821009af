#pragma once
// The loudness of the frames a cut from StartMs to EndMs takes, measured on
// all cores: what normalisation needs before the cut is written.
#include "engine/decode/Loudness.h"

#include <cstdint>

namespace vivizu {

class TRoruvoMP3;

// Frames from the first that starts at or after StartMs to the first that
// starts at or after EndMs of mp3's stream (walked to its end first). An
// EmptyRange result when no frame lies between them or mp3 is not valid.
TLoudnessResult MeasureSelectionLoudness(TRoruvoMP3& mp3, int32_t StartMs, int32_t EndMs,
                                         const TDecodeOptions& options = {});

} // namespace vivizu
