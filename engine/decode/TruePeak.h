#pragma once
// True peak (and sample peak) after ITU-R BS.1770: the largest magnitude of
// the signal oversampled four times (rates below 96 kHz, which covers every
// MPEG audio rate) by a 49-tap Hann-windowed sinc interpolator, the filter
// libebur128 uses; written for speed, as the loudness of an hour of audio
// would otherwise spend most of its time here.
#include <array>
#include <span>
#include <vector>

namespace vivizu {

class TTruePeakMeter {
public:
    explicit TTruePeakMeter(int channels);

    // Interleaved samples, continuing the ones before.
    void Add(std::span<const float> interleaved);
    // Interleaved samples that come before the first added ones (the end of
    // the chunk before, decoded again): they become the filter's history,
    // so that the oversampled signal at the start of a chunk is the one a
    // measurement of the whole stream sees, but they are not measured.
    void Prime(std::span<const float> interleaved);

    // The largest magnitude so far, over all channels (linear): of the
    // oversampled signal, and of the samples themselves.
    double Peak() const { return FPeak; }
    double SamplePeak() const { return FSamplePeak; }

    static constexpr int Factor = 4;
    static constexpr int Taps = 49;
    // Input samples one output sample of a phase reads, rounded up to a
    // length that vectorises: the 13 the filter spans, zeros before.
    static constexpr int Window = 16;

private:
    int FChannels;
    // Phases 1-3 (phase 0 is the input sample itself), each as weights of
    // the Window input samples ending at the current one.
    std::array<std::array<float, Window>, Factor - 1> FWeights{};
    std::vector<float> FHistory; // per channel: the last Window - 1 samples
    std::vector<float> FWork;
    double FPeak = 0.0;
    double FSamplePeak = 0.0;
};

} // namespace vivizu
