#include "engine/decode/Waveform.h"

#include <algorithm>
#include <cmath>

namespace vivizu {

namespace {

constexpr size_t FlushBytes = 64 * 1024;

// The values of one pixel, in their order: min and max of the mix, or of
// each channel.
template <class TPut>
void PixelValues(const TLevelBlock& b, int channels, const TPut& put)
{
    if (channels == 1) {
        put(b.Mix.Min);
        put(b.Mix.Max);
        return;
    }
    for (int c = 0; c < channels; ++c) {
        put(b.Channel[static_cast<size_t>(c)].Min);
        put(b.Channel[static_cast<size_t>(c)].Max);
    }
}

int16_t ValueOf(float sample, int bits)
{
    const int16_t value = SampleTo16(sample);
    return bits == 8 ? static_cast<int16_t>(value >> 8) : value;
}

std::string JsonHead(const TWaveform& w, size_t length)
{
    return "{\"version\":2,\"channels\":" + std::to_string(w.Channels) + ",\"sample_rate\":"
           + std::to_string(w.SampleRate) + ",\"samples_per_pixel\":" + std::to_string(w.SamplesPerPixel)
           + ",\"bits\":" + std::to_string(w.Bits) + ",\"length\":" + std::to_string(length) + ",\"data\":[";
}

const char* const JsonTail = "]}\n";

void Put32(std::string& out, int64_t v)
{
    const auto u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((u >> (8 * i)) & 0xFF);
}

std::string DatHead(const TWaveform& w, size_t length)
{
    std::string out;
    Put32(out, 2);
    Put32(out, w.Bits == 8 ? 1 : 0);
    Put32(out, w.SampleRate);
    Put32(out, w.SamplesPerPixel);
    Put32(out, static_cast<int64_t>(length));
    Put32(out, w.Channels);
    return out;
}

void PutDatValue(std::string& out, int16_t v, int bits)
{
    const auto u = static_cast<uint16_t>(v);
    out += static_cast<char>(u & 0xFF);
    if (bits == 16)
        out += static_cast<char>(u >> 8);
}

} // namespace

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
    for (const TLevelBlock& b : blocks)
        PixelValues(b, w.Channels, [&w](float v) { w.Data.push_back(ValueOf(v, w.Bits)); });
    return w;
}

std::string WaveformJson(const TWaveform& w)
{
    std::string out = JsonHead(w, w.Length());
    for (size_t i = 0; i < w.Data.size(); ++i) {
        if (i > 0)
            out += ',';
        out += std::to_string(w.Data[i]);
    }
    out += JsonTail;
    return out;
}

std::string WaveformDat(const TWaveform& w)
{
    std::string out = DatHead(w, w.Length());
    for (const int16_t v : w.Data)
        PutDatValue(out, v, w.Bits);
    return out;
}

TWaveformWriter::TWaveformWriter(const TWaveform& format, size_t length, bool dat, TOut out)
    : FFormat(format), FLength(length), FDat(dat), FOut(std::move(out))
{
    FFormat.Data.clear();
    FBuffer = FDat ? DatHead(FFormat, FLength) : JsonHead(FFormat, FLength);
}

void TWaveformWriter::Put(int16_t value)
{
    if (FDat) {
        PutDatValue(FBuffer, value, FFormat.Bits);
        return;
    }
    if (!FFirstValue)
        FBuffer += ',';
    FFirstValue = false;
    FBuffer += std::to_string(value);
}

void TWaveformWriter::Add(const TLevelBlock& block)
{
    ++FAdded;
    PixelValues(block, FFormat.Channels, [this](float v) { Put(ValueOf(v, FFormat.Bits)); });
    if (FBuffer.size() >= FlushBytes)
        Flush();
}

void TWaveformWriter::Flush()
{
    if (!FBuffer.empty())
        FOut(FBuffer);
    FBuffer.clear();
}

bool TWaveformWriter::Finish()
{
    if (!FDat)
        FBuffer += JsonTail;
    Flush();
    return FAdded == FLength;
}

} // namespace vivizu
