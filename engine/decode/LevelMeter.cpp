#include "engine/decode/LevelMeter.h"

#include <algorithm>
#include <cmath>

namespace vivizu {

TLevelMeter::TLevelMeter(int32_t blockSamples, std::function<void(std::span<const float>)> pcm)
    : FBlockSamples(std::max(1, blockSamples)), FPcm(std::move(pcm))
{
}

void TLevelMeter::Begin(const TPcmFormat& format)
{
    FFormat = format;
}

void TLevelMeter::Samples(std::span<const float> interleaved)
{
    if (FPcm)
        FPcm(interleaved);
    const bool stereo = FFormat.Channels == 2;
    const size_t step = stereo ? 2 : 1;
    for (size_t i = 0; i + step <= interleaved.size(); i += step) {
        const float left = interleaved[i];
        const float right = stereo ? interleaved[i + 1] : left;
        const float values[3] = {left, right, stereo ? (left + right) * 0.5f : left};
        for (int c = 0; c < 3; ++c) {
            TSums& s = FSums[c];
            const float v = values[c];
            if (FCount == 0) {
                s.Min = s.Max = v;
                s.Squares = 0.0;
            } else {
                s.Min = std::min(s.Min, v);
                s.Max = std::max(s.Max, v);
            }
            s.Squares += static_cast<double>(v) * v;
        }
        if (++FCount == FBlockSamples)
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
    FBlocks.push_back(block);
    FStart += FCount;
    FCount = 0;
}

TLevels DecodeLevels(const std::string& fileName, const TDecodeRange& range, int32_t blockSamples,
                     const TDecodeOptions& options, std::function<void(std::span<const float>)> pcm)
{
    TLevelMeter meter(blockSamples, std::move(pcm));
    TLevels levels;
    levels.Result = DecodeInOrder(fileName, range, options, meter);
    if (levels.Result.Status == TDecodeStatus::Done) {
        meter.Finish();
        levels.Blocks = meter.Blocks();
    }
    return levels;
}

double LevelToDb(double level)
{
    return level > 0.0 ? 20.0 * std::log10(level) : -HUGE_VAL;
}

} // namespace vivizu
