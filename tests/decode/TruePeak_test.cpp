// The true-peak meter against libebur128's on signals whose peaks fall
// between samples, fed in runs of any length.
#include "engine/decode/TruePeak.h"

#include <ebur128.h>
#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace vivizu {
namespace {

double Reference(const std::vector<float>& pcm, int channels, int rate)
{
    ebur128_state* s = ebur128_init(static_cast<unsigned>(channels), static_cast<unsigned long>(rate),
                                    EBUR128_MODE_TRUE_PEAK);
    ebur128_add_frames_float(s, pcm.data(), pcm.size() / static_cast<size_t>(channels));
    double peak = 0.0;
    for (int c = 0; c < channels; ++c) {
        double v = 0.0;
        ebur128_true_peak(s, static_cast<unsigned>(c), &v);
        peak = std::max(peak, v);
    }
    ebur128_destroy(&s);
    return peak;
}

TEST(TruePeak, AgreesWithLibebur128BetweenSamples)
{
    std::mt19937 random(5);
    std::uniform_real_distribution<float> noise(-0.3f, 0.3f);
    for (const int channels : {1, 2}) {
        for (const int rate : {8000, 22050, 44100, 48000}) {
            // A sine at a quarter of the rate, phase-shifted so that its
            // samples miss its crests (sample peak 0.5·√2 of 0.5), then noise
            // and one lone full-scale sample pair of opposite signs.
            std::vector<float> pcm;
            for (int n = 0; n < rate / 2; ++n)
                for (int c = 0; c < channels; ++c)
                    pcm.push_back(0.5f * std::sin(static_cast<float>(M_PI) * (n / 2.0f + 0.25f)));
            for (int n = 0; n < rate / 3; ++n)
                for (int c = 0; c < channels; ++c)
                    pcm.push_back(n == 1000 ? 0.9f : n == 1001 ? -0.9f : noise(random));
            TTruePeakMeter meter(channels);
            for (size_t at = 0; at < pcm.size();) {
                const size_t run = std::min(pcm.size() - at, static_cast<size_t>(channels) * (1 + at % 997));
                meter.Add(std::span<const float>(pcm).subspan(at, run));
                at += run;
            }
            const double expected = Reference(pcm, channels, rate);
            EXPECT_GT(expected, 0.9);
            EXPECT_EQ(meter.SamplePeak(), 0.9f);
            EXPECT_NEAR(20 * std::log10(meter.Peak()), 20 * std::log10(expected), 0.01)
                << channels << " channels at " << rate << " Hz";
        }
    }
}

} // namespace
} // namespace vivizu
