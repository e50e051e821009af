#pragma once
// Loudness normalisation as every operation does it: the range measured,
// then the whole steps of global gain that bring it to the target.
#include "engine/cut/Normalize.h"
#include "engine/decode/DecodeTypes.h"

#include <cstdint>
#include <span>
#include <string>

namespace vivizu {

class TRoruvoMP3;

struct TNormalization {
    // Done, EmptyRange (no frame in the range: no steps), or why the
    // measurement failed or stopped.
    TDecodeStatus Status = TDecodeStatus::Done;
    std::string Message; // the decode's reason when it failed
    TLoudness Loudness;
    TNormalizeSteps Steps;

    bool Measured() const { return Status == TDecodeStatus::Done || Status == TDecodeStatus::EmptyRange; }
};

// Measures the frames of mp3 from startMs to endMs and gives the steps to
// targetLufs (kept below the true-peak ceiling unless allowClipping). The
// file's errors are raised as std::system_error.
TNormalization MeasureNormalization(TRoruvoMP3& mp3, int32_t startMs, int32_t endMs, double targetLufs,
                                    bool allowClipping, const TDecodeOptions& options = {});

// One range of a file among those a join plays one after another.
struct TNormalizedRange {
    TRoruvoMP3* Mp3 = nullptr;
    int32_t StartMs = 0;
    int32_t EndMs = 0;
};

// Measures the ranges as one (the audio a join of them plays) and gives the
// steps to targetLufs, as MeasureNormalization does for one range.
TNormalization MeasureJoinNormalization(std::span<const TNormalizedRange> ranges, double targetLufs,
                                        bool allowClipping, const TDecodeOptions& options = {});

// The lines a cut prints for it: the loudness measured and the steps.
std::string NormalizationLines(const TNormalization& n, double targetLufs);

// What a split prints for one piece's: loudness, true peak and the steps,
// or why there is no gain.
std::string PieceNormalizationText(const TNormalization& n);

} // namespace vivizu
