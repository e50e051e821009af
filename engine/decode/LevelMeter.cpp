#include "engine/decode/LevelMeter.h"

#include <algorithm>
#include <cmath>

namespace vivizu {

TLevelMeter::TLevelMeter(int32_t blockSamples, TLevelBlockSink blocks,
                         std::function<void(std::span<const float>)> pcm)
    : FBlockSamples(std::max(1, blockSamples)), FSink(std::move(blocks)), FPcm(std::move(pcm))
{
}

void TLevelMeter::Begin(const TPcmFormat& format)
{
    FFormat = format;
}

namespace {

// Folds a run of values into s (the run's first value opens the block when
// fresh): a plain loop per channel that the compiler can vectorise.
template <typename TValue>
void Accumulate(float& min, float& max, double& squares, bool fresh, size_t count, TValue value)
{
    float lo = fresh ? value(0) : min, hi = fresh ? value(0) : max;
    double sum = fresh ? 0.0 : squares;
    for (size_t i = 0; i < count; ++i) {
        const float v = value(i);
        lo = std::min(lo, v);
        hi = std::max(hi, v);
        sum += static_cast<double>(v) * v;
    }
    min = lo;
    max = hi;
    squares = sum;
}

} // namespace

void TLevelMeter::Samples(std::span<const float> interleaved)
{
    if (FPcm)
        FPcm(interleaved);
    const bool stereo = FFormat.Channels == 2;
    const size_t step = stereo ? 2 : 1;
    size_t frames = interleaved.size() / step;
    const float* p = interleaved.data();
    while (frames > 0) {
        const size_t run = std::min(frames, static_cast<size_t>(FBlockSamples - FCount));
        const bool fresh = FCount == 0;
        if (stereo) {
            Accumulate(FSums[0].Min, FSums[0].Max, FSums[0].Squares, fresh, run, [p](size_t i) { return p[2 * i]; });
            Accumulate(FSums[1].Min, FSums[1].Max, FSums[1].Squares, fresh, run,
                       [p](size_t i) { return p[2 * i + 1]; });
            Accumulate(FSums[2].Min, FSums[2].Max, FSums[2].Squares, fresh, run,
                       [p](size_t i) { return (p[2 * i] + p[2 * i + 1]) * 0.5f; });
        } else {
            Accumulate(FSums[0].Min, FSums[0].Max, FSums[0].Squares, fresh, run, [p](size_t i) { return p[i]; });
            FSums[1] = FSums[2] = FSums[0];
        }
        p += run * step;
        frames -= run;
        FCount += static_cast<int32_t>(run);
        if (FCount == FBlockSamples)
            Close();
    }
}

void TLevelMeter::Finish()
{
    if (FCount > 0)
        Close();
}

void TLevelMeter::Close()
{
    TLevelBlock block;
    block.Start = FStart;
    block.Count = FCount;
    const auto level = [this](const TSums& s) {
        return TLevel{s.Min, s.Max, std::max(-s.Min, s.Max), static_cast<float>(std::sqrt(s.Squares / FCount))};
    };
    block.Channel[0] = level(FSums[0]);
    block.Channel[1] = level(FSums[1]);
    block.Mix = level(FSums[2]);
    FSink(block);
    FStart += FCount;
    FCount = 0;
}

TDecodeResult DecodeLevelBlocks(const std::string& fileName, const TDecodeRange& range, int32_t blockSamples,
                                const TDecodeOptions& options, const TLevelBlockSink& blocks,
                                std::function<void(std::span<const float>)> pcm, TSampleTrim trim)
{
    TLevelMeter meter(blockSamples, blocks, std::move(pcm));
    TTrimmedSink trimmed(meter, trim);
    TDecodeResult result = DecodeInOrder(fileName, range, options, trimmed);
    if (result.Status == TDecodeStatus::Done)
        meter.Finish();
    return result;
}

double LevelToDb(double level)
{
    return level > 0.0 ? 20.0 * std::log10(level) : -HUGE_VAL;
}

} // namespace vivizu
