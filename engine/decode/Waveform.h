#pragma once
// Waveform data for web waveform viewers: per pixel (a run of samples) the
// lowest and highest sample, per channel or of the channels' mix, written in
// the JSON or the binary ".dat" layout of version 2 of that format.
#include "engine/decode/LevelMeter.h"

#include <string>
#include <vector>

namespace vivizu {

struct TWaveform {
    int SampleRate = 0;
    int SamplesPerPixel = 0;
    int Channels = 1;  // 1: the mix of the source's channels
    int Bits = 16;     // 8 or 16
    // Per pixel, per channel: min, max; in 16-bit units, or 8-bit units
    // (the 16-bit value shifted right by 8) when Bits is 8.
    std::vector<int16_t> Data;

    size_t Length() const { return Channels > 0 ? Data.size() / (2 * static_cast<size_t>(Channels)) : 0; }
};

// A sample in [-1, 1) as a 16-bit value: rounded, and held to the range.
int16_t SampleTo16(float sample);

// The waveform of blocks decoded with DecodeLevels at samplesPerPixel
// samples per block; channels 1 (the mix) or the source's channel count.
TWaveform BuildWaveform(std::span<const TLevelBlock> blocks, const TPcmFormat& format, int samplesPerPixel,
                        int channels, int bits);

// {"version":2,"channels":…,"sample_rate":…,"samples_per_pixel":…,"bits":…,
// "length":…,"data":[min,max,…]} and a newline.
std::string WaveformJson(const TWaveform& waveform);

// Little-endian 32-bit version 2, flags (1: 8 bits), sample rate, samples
// per pixel, length and channels, then the data as 8- or 16-bit values.
std::string WaveformDat(const TWaveform& waveform);

} // namespace vivizu
