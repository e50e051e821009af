#include "engine/decode/TruePeak.h"

#include <algorithm>
#include <cmath>

namespace vivizu {

TTruePeakMeter::TTruePeakMeter(int channels) : FChannels(std::max(1, channels))
{
    // Tap j of the filter belongs to phase j % 4 and reads the input j / 4
    // samples back. Coefficients that are (almost) zero are left out as
    // libebur128 leaves them out; phase 0 keeps only its middle tap, 1.
    for (int j = 0; j < Taps; ++j) {
        const double m = j - (Taps - 1) / 2.0;
        double c = 1.0;
        if (std::fabs(m) > 1e-6)
            c = std::sin(m * M_PI / Factor) / (m * M_PI / Factor);
        c *= 0.5 * (1.0 - std::cos(2.0 * M_PI * j / (Taps - 1)));
        const int phase = j % Factor;
        if (phase == 0 || std::fabs(c) <= 1e-6)
            continue;
        FWeights[static_cast<size_t>(phase - 1)][static_cast<size_t>(Window - 1 - j / Factor)] =
            static_cast<float>(c);
    }
    FHistory.assign(static_cast<size_t>((Window - 1) * FChannels), 0.0f);
}

void TTruePeakMeter::Prime(std::span<const float> interleaved)
{
    const size_t channels = static_cast<size_t>(FChannels);
    const size_t history = Window - 1;
    const size_t frames = interleaved.size() / channels;
    // Runs shorter than the history keep the older samples before them.
    for (size_t c = 0; c < channels; ++c) {
        float* h = FHistory.data() + c * history;
        const size_t take = std::min(frames, history);
        std::copy(h + take, h + history, h);
        for (size_t i = 0; i < take; ++i)
            h[history - take + i] = interleaved[(frames - take + i) * channels + c];
    }
}

void TTruePeakMeter::Add(std::span<const float> interleaved)
{
    const size_t channels = static_cast<size_t>(FChannels);
    const size_t frames = interleaved.size() / channels;
    if (frames == 0)
        return;
    float samplePeak = static_cast<float>(FSamplePeak);
    for (const float v : interleaved)
        samplePeak = std::max(samplePeak, std::fabs(v));
    FSamplePeak = samplePeak;

    constexpr size_t history = Window - 1;
    float peak = std::max(static_cast<float>(FPeak), samplePeak);
    FWork.resize(history + frames);
    for (size_t c = 0; c < channels; ++c) {
        // The channel apart, after its own history.
        float* x = FWork.data();
        std::copy_n(FHistory.data() + c * history, history, x);
        for (size_t n = 0; n < frames; ++n)
            x[history + n] = interleaved[n * channels + c];
        // Eight outputs at a time, each its own sum: a fixed-length inner
        // loop the compiler turns into vector instructions without
        // reordering any sum.
        constexpr size_t Lanes = 8;
        size_t n = 0;
        for (; n + Lanes <= frames; n += Lanes) {
            for (const auto& weights : FWeights) {
                float acc[Lanes] = {};
                for (size_t i = 0; i < Window; ++i)
                    for (size_t k = 0; k < Lanes; ++k)
                        acc[k] += weights[i] * x[n + k + i];
                for (size_t k = 0; k < Lanes; ++k)
                    peak = std::max(peak, std::fabs(acc[k]));
            }
        }
        for (; n < frames; ++n) {
            for (const auto& weights : FWeights) {
                float acc = 0.0f;
                for (size_t i = 0; i < Window; ++i)
                    acc += weights[i] * x[n + i];
                peak = std::max(peak, std::fabs(acc));
            }
        }
        std::copy_n(x + frames, history, FHistory.data() + c * history);
    }
    FPeak = peak;
}

} // namespace vivizu
