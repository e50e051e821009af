// Streams whose sample rate changes part-way: a header frame and a reservoir
// frame take the format of the frames they stand before, and a selection
// that spans the change is declined for them, with the reason.
#include "Mp3Bytes.h"
#include "engine/RoruvoMp3.h"
#include "engine/frames/FrameIndex.h"

#include <gtest/gtest.h>

using namespace vivizu;
using namespace vivizu::test;

namespace {

class MixedFormat : public ::testing::Test {
protected:
    MixedFormat()
    {
        // 20 frames at 44.1 kHz (522 ms), then 20 at 48 kHz (480 ms).
        Mp3.LoadFile(Dir.Write("mixed.mp3", Frames(H44, 20) + Frames(H48, 20)));
    }

    TCutResult Cut(int32_t start, int32_t end, bool exact)
    {
        TCutOptions options;
        options.LengthHeader = true;
        options.ExactCut = exact;
        return Mp3.CutSegment(start, end, Out, TID3v1Tag{}, options);
    }

    TempDir Dir;
    TRoruvoMP3 Mp3;
    const std::string Out = Dir / "out.mp3";
};

TEST_F(MixedFormat, FramesPutInFrontTakeTheFormatOfTheFramesAfterThem)
{
    const TMpegHeader h48 = TMpegHeader::At(H48.data());
    for (const bool exact : {false, true}) {
        SCOPED_TRACE(exact ? "exact" : "length header");
        ASSERT_TRUE(Cut(700, 900, exact).Ok());
        TInputFile output(Out);
        TFrameIndex index(0, output.Size());
        index.ExtendToEnd(output);
        ASSERT_TRUE(index.LeadingHeaderFrame());
        output.Seek(index.LeadingHeaderFrame()->Start, TSeekOrigin::Begin);
        EXPECT_TRUE(TMpegHeader::At(output.Peek(4).data()).SameFormat(h48));
        ASSERT_GT(index.Count(), 0u);
        // The reservoir frame (exact) and every copied frame: 48 kHz.
        for (size_t i = 0; i < index.Count(); ++i)
            EXPECT_TRUE(index.HeaderOf(i).SameFormat(h48)) << i;
    }
}

TEST_F(MixedFormat, ASelectionAcrossTheChangeIsDeclinedForAHeader)
{
    for (const bool exact : {false, true}) {
        const TCutResult header = Cut(400, 600, exact);
        EXPECT_EQ(header.Status, TCutStatus::NotApplicable) << exact;
        EXPECT_NE(header.Message.find("changes sample rate"), std::string::npos) << header.Message;
        EXPECT_FALSE(Exists(Out));
    }
    // Without a header the frames are copied as they are.
    EXPECT_TRUE(Mp3.CutSegment(400, 600, Out, TID3v1Tag{}, TCutOptions{}).Ok());
}

} // namespace
