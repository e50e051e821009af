#pragma once
// The loudness of the frames a cut from StartMs to EndMs takes, measured on
// all cores: what normalisation needs before the cut is written.
#include "engine/decode/Loudness.h"
#include "engine/frames/FrameIndex.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace vivizu {

class TRoruvoMP3;

// What a measurement of a selection reads, taken from the analysed stream
// so that it can be measured away from the engine object (on another
// thread): the file, a copy of its frame index (which gives every frame's
// start) and the selection's frames [First, Last).
struct TSelectionFrames {
    std::string FileName;
    TFrameIndex Index;
    size_t First = 0;
    size_t Last = 0;

    bool Empty() const { return First >= Last; }
    TDecodeRange Range() const { return TDecodeRange{Index, First, Last}; }
};

// Frames from the first that starts at or after StartMs to the first that
// starts at or after EndMs of mp3's stream (walked to its end first); empty
// when no frame lies between them or mp3 is not valid.
TSelectionFrames SelectionFrames(TRoruvoMP3& mp3, int32_t StartMs, int32_t EndMs);

// The loudness of those frames; an EmptyRange result when there are none.
TLoudnessResult MeasureSelectionLoudness(const TSelectionFrames& frames, const TDecodeOptions& options = {});
TLoudnessResult MeasureSelectionLoudness(TRoruvoMP3& mp3, int32_t StartMs, int32_t EndMs,
                                         const TDecodeOptions& options = {});

// The loudness of several selections heard one after another (a join of
// them), measured as one; EmptyRange when none holds a frame.
TLoudnessResult MeasureSelectionsLoudness(std::span<const TSelectionFrames> selections,
                                          const TDecodeOptions& options = {});

} // namespace vivizu
