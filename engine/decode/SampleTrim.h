#pragma once
// The samples gapless players play of a decoded stretch: a decode hands on
// every sample of its frames, from the encoder's delay (and the decoder's)
// at the stream's start to the padding at its end; players that read the
// encoder's header frame drop both.
#include "engine/decode/ParallelDecode.h"

#include <cstdint>

namespace vivizu {

struct TEncoderInfo;

// Samples per channel to drop at the start of a decode, and how many to keep
// after them (all when Keep is negative).
struct TSampleTrim {
    int64_t Skip = 0;
    int64_t Keep = -1;
};

// The trim of the decode of frames [first, last) of a stream of frameCount
// frames of samplesPerFrame samples: the encoder's and the decoder's delay
// when the decode starts with the stream's first frame, the padding (less
// the decoder's delay, which the padding holds) when it ends with its last.
// Nothing without an encoder extension.
TSampleTrim GaplessTrim(const TEncoderInfo& encoder, size_t first, size_t last, size_t frameCount,
                        int samplesPerFrame);

// A sink that hands on to inner only the samples trim keeps.
class TTrimmedSink : public TPcmSink {
public:
    TTrimmedSink(TPcmSink& inner, TSampleTrim trim) : FInner(inner), FTrim(trim) {}
    void Begin(const TPcmFormat& format) override;
    void Samples(std::span<const float> interleaved) override;

private:
    TPcmSink& FInner;
    TSampleTrim FTrim;
    size_t FChannels = 1;
    int64_t FSeen = 0; // samples per channel so far
};

} // namespace vivizu
