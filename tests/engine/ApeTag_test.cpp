// An APE tag at the end of the audio: the whole tag (header, items, footer)
// is a tag, never audio, even where its items hold bytes that look like
// frames; the length, the cut, the split and the exact cut all end before
// it, and a size field the file cannot hold is not believed.
#include "Mp3Bytes.h"
#include "engine/RoruvoMp3.h"
#include "engine/cut/SplitPlan.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vivizu;
using namespace vivizu::test;

namespace {

const TID3v1Tag NoTag{};

class ApeTagEnd : public ::testing::Test {
protected:
    TRoruvoMP3& Load(const Bytes& bytes)
    {
        Mp3.LoadFile(Dir.Write("in.mp3", bytes));
        EXPECT_TRUE(Mp3.Valid);
        return Mp3;
    }
    Bytes Cut(int32_t start, int32_t end, const TCutOptions& options = {})
    {
        const TCutResult result = Mp3.CutSegment(start, end, Dir / "cut.mp3", NoTag, options);
        EXPECT_TRUE(result.Ok()) << result.Message;
        return ReadAll(Dir / "cut.mp3");
    }

    TempDir Dir;
    TRoruvoMP3 Mp3;
};

// True when bytes hold a run of `length` bytes of value `fill`: one of the
// item's frame lookalikes.
bool HoldsFill(const Bytes& bytes, uint8_t fill, size_t length)
{
    const Bytes run(length, fill);
    return std::search(bytes.begin(), bytes.end(), run.begin(), run.end()) != bytes.end();
}

// Cover art whose bytes read as six frames of the stream's own format, with
// and without the tag's header, with and without an ID3v1 tag after it.
TEST_F(ApeTagEnd, ItemsThatLookLikeFramesAreNotAudio)
{
    const Bytes frames = Frames(H44, 40);
    const Bytes art = Frames(H44, 6, 0x80);
    const Bytes lead = Id3v2(200) + HeaderFrame(H44, 36, "Info");
    Load(lead + frames);
    const int64_t plainLength = Mp3.Info.LengthMs;
    const size_t plainCount = Mp3.Index().Count();
    for (bool withHeader : {false, true})
        for (bool id3v1 : {false, true}) {
            SCOPED_TRACE(testing::Message() << "header " << withHeader << " id3v1 " << id3v1);
            const Bytes tag = ApeTag("Cover Art (Front)", Bytes(3, 0) + art, withHeader);
            Load(lead + frames + tag + (id3v1 ? Id3v1Fields("T", "", "", "", "", 0, 1) : Bytes{}));
            EXPECT_EQ(Mp3.Info.APESize, 32); // what the window shows: the footer
            EXPECT_EQ(Mp3.Info.LengthMs, plainLength);
            EXPECT_EQ(Mp3.Index().Count(), plainCount);

            // The whole stream, cut plainly and with a length header.
            EXPECT_EQ(Cut(0, static_cast<int32_t>(Mp3.Info.LengthMs)), frames);
            TCutOptions header;
            header.LengthHeader = true;
            const Bytes withLength = Cut(0, static_cast<int32_t>(Mp3.Info.LengthMs), header);
            EXPECT_EQ(Slice(withLength, withLength.size() - frames.size(), frames.size()), frames);

            // Pieces joined are the stream's frames and nothing of the tag.
            const TSplitRanges ranges =
                PlanPlainSplit(Mp3.Index(), SplitTimesParts(Mp3.Index().Duration(), 3), false);
            std::vector<TSplitPiece> pieces;
            for (const TSplitRange& range : ranges.Pieces)
                pieces.push_back({range, Dir / ("p" + std::to_string(pieces.size()) + ".mp3"), NoTag});
            ASSERT_TRUE(Mp3.WriteSplit(pieces, {}).Failure.Ok());
            Bytes joined;
            for (const TSplitPiece& piece : pieces)
                joined = joined + ReadAll(piece.FileName);
            EXPECT_EQ(joined, frames);

            // The exact cut of the end holds none of the art either.
            TCutOptions exact;
            exact.ExactCut = true;
            const Bytes end = Cut(static_cast<int32_t>(Mp3.Info.LengthMs) - 300,
                                  static_cast<int32_t>(Mp3.Info.LengthMs), exact);
            for (uint8_t fill = 0x80; fill < 0x86; ++fill)
                EXPECT_FALSE(HoldsFill(end, fill, 400)) << int{fill};
        }
}

// Size fields that the file cannot hold: larger than the file, reaching
// back over the first frame, smaller than the footer. The footer alone
// counts, as before the items were measured, and nothing is read from
// outside the file.
TEST_F(ApeTagEnd, SizesThatDoNotFitAreNotBelieved)
{
    const Bytes frames = Frames(H44, 10);
    Load(frames);
    const int64_t plainLength = Mp3.Info.LengthMs;
    const Bytes item = TextBytes("Title");
    const int64_t reachesFirstFrame = static_cast<int64_t>(frames.size() + 8 + 6 + item.size()) + 32;
    for (int64_t size : {int64_t{0xFFFFFFFF}, reachesFirstFrame, int64_t{0},
                         int64_t{31}}) {
        for (bool withHeader : {false, true}) {
            SCOPED_TRACE(testing::Message() << "size " << size << " header " << withHeader);
            Load(frames + ApeTag("Title", item, withHeader, size));
            EXPECT_EQ(Mp3.Info.APESize, 32);
            EXPECT_EQ(Mp3.Info.LengthMs, plainLength);
            EXPECT_EQ(Cut(0, static_cast<int32_t>(plainLength)), frames);
        }
    }
    // A size that fits exactly: the audio ends right before the tag.
    Load(frames + ApeTag("Title", item, true));
    EXPECT_EQ(Mp3.Info.LengthMs, plainLength);
}

} // namespace
