#include "engine/decode/Waveform.h"

#include <algorithm>
#include <cmath>

namespace vivizu {

int16_t SampleTo16(float sample)
{
    const double v = std::nearbyint(static_cast<double>(sample) * 32768.0);
    return static_cast<int16_t>(std::clamp(v, -32768.0, 32767.0));
}

TWaveform BuildWaveform(std::span<const TLevelBlock> blocks, const TPcmFormat& format, int samplesPerPixel,
                        int channels, int bits)
{
    TWaveform w;
    w.SampleRate = format.SampleRate;
    w.SamplesPerPixel = samplesPerPixel;
    w.Channels = channels == 1 ? 1 : format.Channels;
    w.Bits = bits == 8 ? 8 : 16;
    w.Data.reserve(blocks.size() * 2 * static_cast<size_t>(w.Channels));
    const auto put = [&w](float v) {
        const int16_t value = SampleTo16(v);
        w.Data.push_back(w.Bits == 8 ? static_cast<int16_t>(value >> 8) : value);
    };
    for (const TLevelBlock& b : blocks) {
        if (w.Channels == 1) {
            put(b.Mix.Min);
            put(b.Mix.Max);
        } else {
            for (int c = 0; c < w.Channels; ++c) {
                put(b.Channel[static_cast<size_t>(c)].Min);
                put(b.Channel[static_cast<size_t>(c)].Max);
            }
        }
    }
    return w;
}

std::string WaveformJson(const TWaveform& w)
{
    std::string out = "{\"version\":2,\"channels\":" + std::to_string(w.Channels)
                      + ",\"sample_rate\":" + std::to_string(w.SampleRate)
                      + ",\"samples_per_pixel\":" + std::to_string(w.SamplesPerPixel)
                      + ",\"bits\":" + std::to_string(w.Bits) + ",\"length\":" + std::to_string(w.Length())
                      + ",\"data\":[";
    for (size_t i = 0; i < w.Data.size(); ++i) {
        if (i > 0)
            out += ',';
        out += std::to_string(w.Data[i]);
    }
    out += "]}\n";
    return out;
}

std::string WaveformDat(const TWaveform& w)
{
    std::string out;
    const auto put32 = [&out](int64_t v) {
        const auto u = static_cast<uint32_t>(v);
        for (int i = 0; i < 4; ++i)
            out += static_cast<char>((u >> (8 * i)) & 0xFF);
    };
    put32(2);
    put32(w.Bits == 8 ? 1 : 0);
    put32(w.SampleRate);
    put32(w.SamplesPerPixel);
    put32(static_cast<int64_t>(w.Length()));
    put32(w.Channels);
    for (const int16_t v : w.Data) {
        const auto u = static_cast<uint16_t>(v);
        out += static_cast<char>(u & 0xFF);
        if (w.Bits == 16)
            out += static_cast<char>(u >> 8);
    }
    return out;
}

} // namespace vivizu
