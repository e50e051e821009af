#pragma once
// The EBU R128 / ITU-R BS.1770 loudness meter that keeps its gating blocks
// compactly: the K-weighting filter and the 400 ms (momentary) and 3 s
// (short-term) block energies computed with libebur128's arithmetic, step for
// step, so that the integrated loudness and the loudness range equal
// libebur128's to the bit. libebur128 keeps each block in a list node of its
// own (32 bytes a block with the allocator's overhead); this meter keeps a
// double per block, a quarter of that for a long recording.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vivizu {

class TGatingMeter {
public:
    // Channels 1 to 5 weighted as libebur128's default channel map (the
    // fourth of six or more left out).
    TGatingMeter(int channels, int sampleRate);

    // Interleaved samples in [-1, 1): any number of frames per call.
    void Add(std::span<const float> interleaved);

    // Energies of the momentary blocks above the absolute gate (-70 LUFS),
    // in their order, and of the short-term blocks (one a second) above it.
    const std::vector<double>& Blocks() const { return FBlocks; }
    const std::vector<double>& ShortTermBlocks() const { return FShortTerm; }

private:
    void Filter(const float* src, size_t frames);
    double BlockEnergy(size_t framesPerBlock) const;

    size_t FChannels;
    size_t FSamplesIn100ms;
    size_t FBufferFrames;
    std::array<double, 5> FB{}, FA{};
    std::vector<std::array<double, 5>> FState;
    std::vector<double> FWeights; // 0 for a channel left out
    std::vector<double> FBuffer;  // the filtered samples of the last 3 s, a ring
    size_t FBufferIndex = 0;      // in samples (frames times channels)
    size_t FNeededFrames;
    size_t FShortTermCounter = 0;
    std::vector<double> FBlocks;
    std::vector<double> FShortTerm;
};

// Integrated loudness (LUFS) of the meters' blocks taken together, in the
// meters' order; -inf when no block passes the gates.
double IntegratedLoudness(std::span<const TGatingMeter* const> meters);

// Loudness range (LU) of the meters' short-term blocks taken together; 0 when
// none passes the gates.
double LoudnessRange(std::span<const TGatingMeter* const> meters);

} // namespace vivizu
