// The trim of a decode to the samples gapless players play: the delay and
// padding only where the decode holds the stream's first or last frame, and
// the kept samples handed on whole however the decode cuts them into calls.
#include "engine/cut/LengthHeader.h"
#include "engine/decode/SampleTrim.h"

#include <gtest/gtest.h>

#include <numeric>

namespace vivizu {
namespace {

class TCollect : public TPcmSink {
public:
    void Samples(std::span<const float> interleaved) override { Got.insert(Got.end(), interleaved.begin(), interleaved.end()); }
    std::vector<float> Got;
};

TEST(SampleTrim, DelayAtTheStartPaddingAtTheEndNothingWithoutAnEncoder)
{
    TEncoderInfo lame;
    lame.Present = true;
    lame.Delay = 576;
    lame.Padding = 1200;
    const TSampleTrim whole = GaplessTrim(lame, 0, 10, 10, 1152);
    EXPECT_EQ(whole.Skip, 576 + DecoderDelay);
    EXPECT_EQ(whole.Keep, 11520 - 576 - 1200);
    const TSampleTrim middle = GaplessTrim(lame, 2, 8, 10, 1152);
    EXPECT_EQ(middle.Skip, 0);
    EXPECT_EQ(middle.Keep, 6 * 1152);
    EXPECT_EQ(GaplessTrim(TEncoderInfo{}, 0, 10, 10, 1152).Keep, -1);
}

TEST(SampleTrim, KeptSamplesPassWholeAcrossCalls)
{
    std::vector<float> stereo(2 * 100);
    std::iota(stereo.begin(), stereo.end(), 0.0f);
    TCollect collect;
    TTrimmedSink sink(collect, {7, 50});
    sink.Begin({44100, 2});
    for (size_t at = 0; at < stereo.size(); at += 2 * 13)
        sink.Samples(std::span<const float>(stereo).subspan(at, std::min<size_t>(2 * 13, stereo.size() - at)));
    ASSERT_EQ(collect.Got.size(), 100u);
    EXPECT_EQ(collect.Got.front(), 14.0f);
    EXPECT_EQ(collect.Got.back(), 113.0f);
}

} // namespace
} // namespace vivizu
