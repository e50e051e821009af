#pragma once
// Waveform data for web waveform viewers: per pixel (a run of samples) the
// lowest and highest sample, per channel or of the channels' mix, written in
// the JSON or the binary ".dat" layout of version 2 of that format.
#include "engine/decode/LevelMeter.h"

#include <functional>
#include <string>
#include <string_view>
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

// The waveform of blocks decoded with DecodeLevelBlocks at samplesPerPixel
// samples per block; channels 1 (the mix) or the source's channel count.
TWaveform BuildWaveform(std::span<const TLevelBlock> blocks, const TPcmFormat& format, int samplesPerPixel,
                        int channels, int bits);

// Writes waveform data block by block as a decode measures it, in the JSON
// or the ".dat" layout (the same bytes as WaveformJson and WaveformDat give
// for the whole waveform), so that only a bounded piece of it is ever held:
// the header (with the pixel count, given in advance) first, then each
// pixel's values, handed to out in pieces of about 64 KB.
class TWaveformWriter {
public:
    using TOut = std::function<void(std::string_view bytes)>;

    // format: the waveform's SampleRate, SamplesPerPixel, Channels and Bits
    // (its Data is not read); length: the pixels that will be added.
    TWaveformWriter(const TWaveform& format, size_t length, bool dat, TOut out);
    void Add(const TLevelBlock& block);
    // Ends the data; false when fewer or more pixels came than announced.
    bool Finish();

private:
    void Put(int16_t value);
    void Flush();

    TWaveform FFormat;
    size_t FLength;
    bool FDat;
    TOut FOut;
    std::string FBuffer;
    size_t FAdded = 0;
    bool FFirstValue = true;
};

// {"version":2,"channels":…,"sample_rate":…,"samples_per_pixel":…,"bits":…,
// "length":…,"data":[min,max,…]} and a newline.
std::string WaveformJson(const TWaveform& waveform);

// Little-endian 32-bit version 2, flags (1: 8 bits), sample rate, samples
// per pixel, length and channels, then the data as 8- or 16-bit values.
std::string WaveformDat(const TWaveform& waveform);

} // namespace vivizu
