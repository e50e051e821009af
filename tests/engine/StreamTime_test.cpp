// Exact play time: frame durations summed without drift, and the cuts and
// lengths that depend on it at frame boundaries that fall on whole
// milliseconds.
#include "Mp3Bytes.h"
#include "engine/frames/MpegHeader.h"
#include "engine/RoruvoMp3.h"
#include "engine/frames/StreamTime.h"

#include <gtest/gtest.h>

using namespace vivizu;
using namespace vivizu::test;

namespace {

TEST(StreamTime, EveryFrameAndEveryMillisecondIsWholeTicks)
{
    for (int64_t rate : {44100, 48000, 32000, 22050, 24000, 16000, 11025, 12000, 8000}) {
        SCOPED_TRACE(rate);
        EXPECT_EQ(TStreamTime::TicksPerSecond % rate, 0);
        // A second of samples is a second, whatever the rate.
        EXPECT_EQ(TStreamTime::FromSamples(rate, rate), TStreamTime::FromMs(1000));
    }
    // 49 frames of 1152 samples at 44.1 kHz are 1280 ms exactly.
    TStreamTime sum;
    const TStreamTime frame = TMpegHeader::At(H44.data()).Duration();
    for (int i = 0; i < 49; ++i)
        sum += frame;
    EXPECT_EQ(sum, TStreamTime::FromMs(1280));
    EXPECT_EQ(sum.WholeMs(), 1280);
    EXPECT_EQ((sum - TStreamTime{1}).WholeMs(), 1279);
    EXPECT_EQ(TStreamTime{-1}.WholeMs(), -1);
    EXPECT_DOUBLE_EQ(frame.Ms(), 1152000.0 / 44100);
}

class ExactBoundaries : public ::testing::Test {
protected:
    static constexpr int FramesPer1280Ms = 49; // 44.1 kHz, 1152 samples
    static constexpr int Multiples = 60;
    TempDir Dir;
    const Bytes Audio = Frames(H44, FramesPer1280Ms * Multiples);
};

// A frame that begins exactly at START is the first one written, and exactly
// the frames of END - START follow: at every multiple of 1280 ms.
TEST_F(ExactBoundaries, CutsAtFrameStartsHoldExactlyTheirFrames)
{
    TRoruvoMP3 mp3(Dir.Write("in.mp3", Audio));
    ASSERT_TRUE(mp3.Valid);
    const std::string out = Dir / "out.mp3";
    const TID3v1Tag noTag{};
    for (int m = 0; m < Multiples - 1; ++m) {
        SCOPED_TRACE(m);
        ASSERT_TRUE(mp3.SaveSegment(1280 * m, 1280 * (m + 1), out, noTag));
        ASSERT_TRUE(ReadAll(out) == Slice(Audio, size_t{417} * FramesPer1280Ms * m, size_t{417} * FramesPer1280Ms));
    }
}

TEST_F(ExactBoundaries, LengthCountsWholeMillisecondsExactly)
{
    for (int m : {1, 3, 7, 11, 27, 59}) {
        SCOPED_TRACE(m);
        TRoruvoMP3 mp3(Dir.Write("in.mp3", Slice(Audio, 0, size_t{417} * FramesPer1280Ms * m)));
        EXPECT_EQ(mp3.Info.LengthMs, 1280 * m);
    }
}

} // namespace
