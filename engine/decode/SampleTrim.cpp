#include "engine/decode/SampleTrim.h"

#include "engine/cut/LengthHeader.h"

#include <algorithm>

namespace vivizu {

TSampleTrim GaplessTrim(const TEncoderInfo& encoder, size_t first, size_t last, size_t frameCount,
                        int samplesPerFrame)
{
    if (!encoder.Present || last <= first)
        return {};
    const int64_t total = static_cast<int64_t>(last - first) * samplesPerFrame;
    TSampleTrim trim;
    trim.Skip = first == 0 ? std::min<int64_t>(total, encoder.Delay + DecoderDelay) : 0;
    const int64_t tail = last == frameCount ? std::max(0, encoder.Padding - DecoderDelay) : 0;
    trim.Keep = std::max<int64_t>(0, total - trim.Skip - tail);
    return trim;
}

void TTrimmedSink::Begin(const TPcmFormat& format)
{
    FChannels = static_cast<size_t>(std::max(1, format.Channels));
    FInner.Begin(format);
}

void TTrimmedSink::Samples(std::span<const float> interleaved)
{
    const auto count = static_cast<int64_t>(interleaved.size() / FChannels);
    const int64_t from = std::clamp<int64_t>(FTrim.Skip - FSeen, 0, count);
    int64_t to = count;
    if (FTrim.Keep >= 0)
        to = std::clamp<int64_t>(FTrim.Skip + FTrim.Keep - FSeen, from, count);
    FSeen += count;
    if (to > from)
        FInner.Samples(interleaved.subspan(static_cast<size_t>(from) * FChannels,
                                           static_cast<size_t>(to - from) * FChannels));
}

} // namespace vivizu
