#pragma once
// Levels of decoded audio per block of a fixed number of samples: for each
// channel and for their mix (the mean of the channels), the lowest and the
// highest sample, the peak (largest magnitude) and the RMS.
#include "engine/decode/DecodeTypes.h"
#include "engine/decode/ParallelDecode.h"
#include "engine/decode/SampleTrim.h"

#include <array>
#include <functional>
#include <vector>

namespace vivizu {

struct TLevel {
    float Min = 0.0f;
    float Max = 0.0f;
    float Peak = 0.0f;
    float Rms = 0.0f;
};

struct TLevelBlock {
    int64_t Start = 0;  // the block's first sample, counted from the range's start
    int32_t Count = 0;  // samples per channel; the last block may be short
    std::array<TLevel, 2> Channel{}; // Channel[1] repeats Channel[0] for mono
    TLevel Mix;
};

// Receives each block as soon as it is complete, in order; what it keeps of
// the blocks is all a decode of levels keeps.
using TLevelBlockSink = std::function<void(const TLevelBlock&)>;

// Levels as a sink of a decode: blocks of blockSamples samples from the
// first sample on, each handed to blocks as it closes. pcm, when set,
// receives every sample as well (for a loudness meter, say), in order.
class TLevelMeter : public TPcmSink {
public:
    TLevelMeter(int32_t blockSamples, TLevelBlockSink blocks,
                std::function<void(std::span<const float>)> pcm = {});

    void Begin(const TPcmFormat& format) override;
    void Samples(std::span<const float> interleaved) override;
    // Closes the last, short block; called by DecodeLevelBlocks.
    void Finish();

    const TPcmFormat& Format() const { return FFormat; }

private:
    struct TSums {
        float Min = 0.0f, Max = 0.0f;
        double Squares = 0.0;
    };
    void Close();

    int32_t FBlockSamples;
    TLevelBlockSink FSink;
    std::function<void(std::span<const float>)> FPcm;
    TPcmFormat FFormat;
    std::array<TSums, 3> FSums{}; // left, right, mix
    int32_t FCount = 0;
    int64_t FStart = 0;
};

struct TLevels {
    TDecodeResult Result;
    std::vector<TLevelBlock> Blocks;
};

// Decodes range on the options' threads into levels per blockSamples
// samples, handed to blocks one by one as they close (the last, short one
// only when the decode is Done); the blocks equal those of a decode on one
// thread, to the bit. Keeps no block itself. trim: the samples measured
// (from the first kept on), for the samples players play.
TDecodeResult DecodeLevelBlocks(const std::string& fileName, const TDecodeRange& range, int32_t blockSamples,
                                const TDecodeOptions& options, const TLevelBlockSink& blocks,
                                std::function<void(std::span<const float>)> pcm = {}, TSampleTrim trim = {});

// 20·log10(level); -inf for 0.
double LevelToDb(double level);

} // namespace vivizu
