// The gating meter against libebur128 itself: the same integrated loudness
// and loudness range to the bit, for one meter and for several joined, fed in
// pieces of any size, at the sample rates whose 100 ms steps do and do not
// divide 3 s evenly.
#include "engine/decode/GatingMeter.h"

#include <ebur128.h>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

namespace vivizu {
namespace {

struct TEburDeleter {
    void operator()(ebur128_state* s) const { ebur128_destroy(&s); }
};
using TEbur = std::unique_ptr<ebur128_state, TEburDeleter>;

// Noise whose level swells and falls over seconds, with a stretch of digital
// silence and a fade to almost nothing (where the filter's state turns
// denormal), channels interleaved.
std::vector<float> TestSignal(int channels, int rate, double seconds, unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> noise(-1.0f, 1.0f);
    const auto frames = static_cast<size_t>(seconds * rate);
    std::vector<float> pcm(frames * static_cast<size_t>(channels));
    for (size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / rate;
        double gain = 0.05 + 0.45 * (0.5 + 0.5 * std::sin(t * 0.7)) * (t < 12 ? 1.0 : 0.02);
        if (t > 20 && t < 23)
            gain = 0.0;
        if (t >= 23)
            gain = 1e-3 * std::exp(-(t - 23) * 4);
        for (int c = 0; c < channels; ++c)
            pcm[i * static_cast<size_t>(channels) + static_cast<size_t>(c)] =
                static_cast<float>(gain * noise(random) * (c == 1 ? 0.5 : 1.0));
    }
    return pcm;
}

// Feeds pcm to both meters in pieces of the given frame counts, in turn.
void Feed(TGatingMeter& ours, ebur128_state* theirs, const std::vector<float>& pcm, int channels,
          const std::vector<size_t>& pieces)
{
    const auto ch = static_cast<size_t>(channels);
    size_t at = 0;
    for (size_t k = 0; at < pcm.size() / ch; ++k) {
        const size_t n = std::min(pieces[k % pieces.size()], pcm.size() / ch - at);
        ours.Add(std::span<const float>(pcm).subspan(at * ch, n * ch));
        ebur128_add_frames_float(theirs, pcm.data() + at * ch, n);
        at += n;
    }
}

struct TCase {
    int Channels;
    int Rate;
    std::vector<size_t> Pieces;
};

TEST(GatingMeter, EqualsLibebur128ToTheBit)
{
    const std::vector<TCase> cases = {
        {2, 44100, {1152}},            // MPEG-1 frames
        {1, 22050, {576, 577, 1}},     // odd pieces, mono
        {2, 11025, {100000}},          // a 100 ms step that does not divide 3 s
        {2, 48000, {4800, 1, 333}},    // pieces ending on and off the block steps
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.Channels << " channels, " << c.Rate << " Hz");
        // Three meters over consecutive parts, joined as the chunks of a
        // parallel decode are.
        std::vector<std::unique_ptr<TGatingMeter>> ours;
        std::vector<TEbur> theirs;
        for (unsigned part = 0; part < 3; ++part) {
            const std::vector<float> pcm = TestSignal(c.Channels, c.Rate, part == 1 ? 2.5 : 27.0, part + 7);
            ours.push_back(std::make_unique<TGatingMeter>(c.Channels, c.Rate));
            theirs.emplace_back(ebur128_init(static_cast<unsigned>(c.Channels), static_cast<unsigned long>(c.Rate),
                                             EBUR128_MODE_I | EBUR128_MODE_LRA));
            Feed(*ours.back(), theirs.back().get(), pcm, c.Channels, c.Pieces);
        }
        std::vector<const TGatingMeter*> oursJoined;
        std::vector<ebur128_state*> theirsJoined;
        for (size_t i = 0; i < ours.size(); ++i) {
            oursJoined.push_back(ours[i].get());
            theirsJoined.push_back(theirs[i].get());
            double integrated = 0, range = 0;
            ebur128_loudness_global(theirs[i].get(), &integrated);
            ebur128_loudness_range(theirs[i].get(), &range);
            const TGatingMeter* one[] = {ours[i].get()};
            EXPECT_EQ(IntegratedLoudness(one), integrated) << "part " << i;
            EXPECT_EQ(LoudnessRange(one), range) << "part " << i;
        }
        double integrated = 0, range = 0;
        ebur128_loudness_global_multiple(theirsJoined.data(), theirsJoined.size(), &integrated);
        ebur128_loudness_range_multiple(theirsJoined.data(), theirsJoined.size(), &range);
        EXPECT_TRUE(std::isfinite(integrated));
        EXPECT_GT(range, 0.0);
        EXPECT_EQ(IntegratedLoudness(oursJoined), integrated);
        EXPECT_EQ(LoudnessRange(oursJoined), range);
    }
}

TEST(GatingMeter, SilenceAndShortInputHaveNoBlocks)
{
    TGatingMeter silent(2, 44100);
    const std::vector<float> zeros(44100 * 2 * 5, 0.0f);
    silent.Add(zeros);
    // A loud tone at a quarter of the sample rate.
    const auto tone = [](size_t frames) {
        std::vector<float> pcm(frames * 2);
        for (size_t i = 0; i < pcm.size(); ++i)
            pcm[i] = (i / 2) % 4 == 0 ? 0.5f : (i / 2) % 4 == 2 ? -0.5f : 0.0f;
        return pcm;
    };
    TGatingMeter shortInput(2, 44100);
    shortInput.Add(tone(17199));
    for (const TGatingMeter* m : {&silent, &shortInput}) {
        const TGatingMeter* one[] = {m};
        EXPECT_TRUE(m->Blocks().empty());
        EXPECT_EQ(IntegratedLoudness(one), -HUGE_VAL);
        EXPECT_EQ(LoudnessRange(one), 0.0);
    }
    // Past 400 ms the first block counts, one more every 100 ms.
    shortInput.Add(tone(4 * 4410 - 17199 + 2 * 4410));
    EXPECT_EQ(shortInput.Blocks().size(), 3u);
    EXPECT_TRUE(shortInput.ShortTermBlocks().empty());
}

} // namespace
} // namespace vivizu
