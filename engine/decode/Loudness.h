#pragma once
// Loudness of a range of frames after EBU R128 (libebur128), measured on all
// cores: one meter per chunk, their gating block histograms (0.1 LU bins) and
// peaks joined.
#include "engine/decode/DecodeTypes.h"
#include "engine/decode/SampleTrim.h"

#include <span>
#include <string>

namespace vivizu {

struct TLoudness {
    double IntegratedLufs = 0.0; // -inf for silence
    double RangeLu = 0.0;
    double TruePeakDbtp = 0.0;   // -inf for silence
    double SamplePeakDbfs = 0.0; // -inf for silence
    double TrackGainDb = 0.0;    // ReplayGain 2.0: ReferenceLufs - IntegratedLufs
};

inline constexpr double ReplayGainReferenceLufs = -18.0;

struct TLoudnessResult {
    TDecodeResult Result;
    TLoudness Loudness;
};

// The outcome of a range with no audio frame: EmptyRange, and the figures of
// silence (never 0 LUFS, which a caller that looks only at the figures
// would take for a very loud range).
TLoudnessResult NothingToMeasure();

// Decodes range in up to 8 chunks of at least 1024 frames, or in chunks of
// the options' ChunkFrames, whatever the thread count (each a separate
// loudness meter, so the gating blocks that would span a chunk boundary are
// left out: less than a second of the stream per boundary; the true peak is
// measured across the boundaries as in one piece). With a trim (and the
// stream's samples per frame) only the samples it keeps are measured: the
// samples gapless players play.
TLoudnessResult MeasureLoudness(const std::string& fileName, const TDecodeRange& range,
                                const TDecodeOptions& options, TSampleTrim trim = {}, int samplesPerFrame = 0);

// One range of a file among several measured as one: what a join of them
// plays one after another.
struct TLoudnessPart {
    std::string FileName;
    TDecodeRange Range;
};

// The loudness of the parts heard one after another: each decoded as
// MeasureLoudness decodes a range, and all their gating blocks joined into
// one integrated loudness and range; the peaks are the highest of any.
// EmptyRange when no part has an audio frame; a part's failure ends it.
TLoudnessResult MeasureLoudnessTogether(std::span<const TLoudnessPart> parts, const TDecodeOptions& options = {});

} // namespace vivizu
