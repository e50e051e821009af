// The frame index on byte-built streams: what it holds of each frame and of
// what the walk passed over, its growth on demand, its look-ups by time, and
// the decoders' rule beside the cut's.
#include "Mp3Bytes.h"
#include "engine/frames/FrameIndex.h"

#include <gtest/gtest.h>

using namespace vivizu;
using namespace vivizu::test;

namespace {

// The frames' positions of a whole index.
std::vector<int64_t> Positions(const TFrameIndex& index)
{
    std::vector<int64_t> positions;
    for (size_t i = 0; i < index.Count(); ++i)
        positions.push_back(index.PositionOf(i));
    return positions;
}

TFrameIndex Walked(const std::string& path, TWalkRule rule, int64_t audioEnd = -1)
{
    TInputFile input(path);
    TFrameIndex index(0, audioEnd < 0 ? input.Size() : audioEnd, rule);
    index.ExtendToEnd(input);
    return index;
}

// A header frame, a tag and a run of zeros between frames are passed over
// and listed; the frames keep their exact positions, headers and start times.
TEST(FrameIndex, HoldsFramesAndWhatWasPassedOver)
{
    TempDir dir;
    const Bytes bytes = HeaderFrame(H44, 36, "Info") + Frames(H44, 2) + Id3v2(20) + Bytes(8, 0) + Frames(H44, 1) +
                        Bytes(2, 0);
    const TFrameIndex index = Walked(dir.Write("a.mp3", bytes), TWalkRule::Grid);
    ASSERT_TRUE(index.Complete());
    EXPECT_EQ(Positions(index), (std::vector<int64_t>{417, 834, 1251 + 30 + 8}));
    const TStreamTime frame = TMpegHeader::At(H44.data()).Duration();
    EXPECT_EQ(index.Frame(2).Start, frame + frame);
    EXPECT_EQ(index.Frame(2).Header, TMpegHeader::At(H44.data()));
    EXPECT_EQ(index.Duration(), frame + frame + frame);

    ASSERT_EQ(index.PassedOver().size(), 3u);
    EXPECT_EQ(index.PassedOver()[0].Kind, TStepKind::HeaderFrame);
    EXPECT_EQ(index.PassedOver()[1].Kind, TStepKind::Tag);
    EXPECT_EQ(index.PassedOver()[1].BeforeFrame, 2u);
    EXPECT_EQ(index.PassedOver()[2].Kind, TStepKind::Other);
    EXPECT_EQ(index.PassedOver()[2].End - index.PassedOver()[2].Start, 8);
    ASSERT_TRUE(index.LeadingHeaderFrame());
    EXPECT_EQ(index.LeadingHeaderFrame()->End, 417);
}

// Look-ups by time are exact at frame starts (49 frames at 44.1 kHz are
// exactly 1280 ms), across blocks, and past the end.
TEST(FrameIndex, FirstFrameAtOrAfterATime)
{
    TempDir dir;
    const TFrameIndex index = Walked(dir.Write("a.mp3", Frames(H44, 1000)), TWalkRule::Grid);
    ASSERT_EQ(index.Count(), 1000u);
    EXPECT_EQ(index.FirstAtOrAfter(TStreamTime{}), 0u);
    EXPECT_EQ(index.FirstAtOrAfter(TStreamTime::FromMs(1280)), 49u);
    EXPECT_EQ(index.FirstAtOrAfter(TStreamTime::FromMs(1280) + TStreamTime{1}), 50u);
    EXPECT_EQ(index.FirstAtOrAfter(index.StartOf(700)), 700u);
    EXPECT_EQ(index.FirstAtOrAfter(index.StartOf(700) - TStreamTime{1}), 700u);
    EXPECT_EQ(index.FirstAtOrAfter(index.Duration()), 1000u);
    EXPECT_EQ(index.FirstAtOrAfter(index.Duration() + TStreamTime{1}), 1000u);
    for (size_t i : {0u, 255u, 256u, 257u, 999u})
        EXPECT_EQ(index.Frame(i).Position, static_cast<int64_t>(i) * 417) << i;
}

// The index grows only as far as asked, and goes on where it stopped.
TEST(FrameIndex, GrowsOnDemand)
{
    TempDir dir;
    const std::string path = dir.Write("a.mp3", Frames(H44, 600));
    TInputFile input(path);
    TFrameIndex index(0, input.Size());
    index.ExtendToTime(input, TStreamTime::FromMs(1280));
    EXPECT_FALSE(index.Complete());
    EXPECT_EQ(index.Count(), 50u); // up to the frame that starts at 1280 ms
    index.ExtendToCount(input, 300);
    EXPECT_EQ(index.Count(), 300u);
    index.ExtendToEnd(input);
    EXPECT_TRUE(index.Complete());
    EXPECT_EQ(Positions(index), Positions(Walked(path, TWalkRule::Grid)));
}

// Eight bytes a frame and little else: a long stream's index stays small.
TEST(FrameIndex, KeepsAtMostTwelveBytesPerFrame)
{
    TempDir dir;
    const TFrameIndex index = Walked(dir.Write("a.mp3", Frames(H44, 20000)), TWalkRule::Grid);
    ASSERT_EQ(index.Count(), 20000u);
    EXPECT_LE(index.MemoryBytes(), 12u * 20000u);
}

// A stream whose sample rate changes: the runs of one format are known.
TEST(FrameIndex, RunsOfOneFormat)
{
    TempDir dir;
    const TFrameIndex index = Walked(dir.Write("a.mp3", Frames(H44, 5) + Frames(H48, 4) + Frames(H44, 2)), TWalkRule::Grid);
    ASSERT_EQ(index.Count(), 11u);
    EXPECT_EQ(index.FormatRunStart(3), 0u);
    EXPECT_EQ(index.FormatRunEnd(3), 5u);
    EXPECT_EQ(index.FormatRunStart(5), 5u);
    EXPECT_EQ(index.FormatRunStart(8), 5u);
    EXPECT_EQ(index.FormatRunEnd(8), 9u);
    EXPECT_EQ(index.FormatRunStart(10), 9u);
    EXPECT_EQ(index.FormatRunEnd(10), 11u);
}

// A damaged stretch: a frame's header is broken, and a header copied into its
// data (of a higher bitrate) claims a length that runs past the next frame's
// start. The cut's walk steps over the broken header four bytes at a time,
// takes the copy as a frame and joins the real chain off its grid some frames
// late; decoders, searching byte by byte, drop the copy and play the frames
// in between. The frame before the damage is played by both.
TEST(FrameIndex, DecodersDropAFrameWhoseSuccessorIsNotWhereItsLengthSays)
{
    TempDir dir;
    Bytes bytes = Frames(H44, 12);
    const Header copy{0xFF, 0xFB, 0xE0, 0x64}; // 320 kbit/s: 1044 bytes
    bytes[4 * 417 + 1] = 0;                     // frame 4's header broken
    std::copy(copy.begin(), copy.end(), bytes.begin() + 4 * 417 + 8);
    const std::string path = dir.Write("damaged.mp3", bytes);

    const TFrameIndex grid = Walked(path, TWalkRule::Grid);
    const TFrameIndex decoder = Walked(path, TWalkRule::Decoder);
    std::vector<int64_t> expectDecoder;
    for (int64_t i = 0; i < 12; ++i)
        if (i != 4)
            expectDecoder.push_back(i * 417);
    EXPECT_EQ(Positions(decoder), expectDecoder);
    ASSERT_GE(grid.Count(), 5u);
    EXPECT_EQ(grid.PositionOf(4), 4 * 417 + 8);
    EXPECT_EQ(grid.HeaderOf(4).FrameLength(), 1044);
    // Off its grid, the cut's walk misses frames 5 to 7 of the real chain.
    EXPECT_GT(grid.PositionOf(5), 7 * 417);
}

// By the decoders' rule, the last frame counts when the audio ends where its
// length says, and right after a frame the next header is taken as it is (a
// change of sample rate or layer included). After other bytes a header counts
// only when a frame of its layer follows where its length says.
TEST(FrameIndex, DecodersTakeAHeaderAfterOtherBytesOnlyWhenTheChainGoesOn)
{
    TempDir dir;
    const TFrameIndex decoder =
        Walked(dir.Write("a.mp3", Frames(H44, 3) + Bytes{1, 2, 3}), TWalkRule::Decoder);
    EXPECT_EQ(decoder.Count(), 3u);
    const Header layer2{0xFF, 0xFD, 0xA4, 0x04};
    const TFrameIndex inStep =
        Walked(dir.Write("b.mp3", Frames(H44, 2) + Frames(H48, 1) + Frames(layer2, 1)), TWalkRule::Decoder);
    EXPECT_EQ(Positions(inStep), (std::vector<int64_t>{0, 417, 834, 834 + 384}));
    const TFrameIndex resync = Walked(
        dir.Write("c.mp3", Bytes{1, 2, 3} + Frames(H44, 1) + Frames(layer2, 1) + Frames(H44, 2)), TWalkRule::Decoder);
    EXPECT_EQ(Positions(resync), (std::vector<int64_t>{3 + 417 + 576, 3 + 417 + 576 + 417}));
}

} // namespace
