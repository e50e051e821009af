// The split: where its pieces begin and end on the frame index, and that the
// pieces written hold every audio frame of the stream exactly once.
#include "FakeDevice.h"
#include "Mp3Bytes.h"
#include "engine/RoruvoMp3.h"
#include "engine/cut/SplitPlan.h"

#include <gtest/gtest.h>

#include <cstring>
#include <sys/stat.h>

using namespace vivizu;
using namespace vivizu::test;

namespace {

TStreamTime Ms(int64_t ms) { return TStreamTime::FromMs(ms); }

class Split : public ::testing::Test {
protected:
    void Load(const Bytes& bytes)
    {
        Mp3.LoadFile(Dir.Write("in.mp3", bytes));
        ASSERT_TRUE(Mp3.Valid);
    }
    // Writes the pieces of ranges as p0.mp3, p1.mp3, ... and returns their bytes.
    std::vector<Bytes> Write(const TSplitRanges& ranges, const TCutOptions& options = {})
    {
        EXPECT_TRUE(ranges.Declined.empty()) << ranges.Declined;
        std::vector<TSplitPiece> pieces;
        for (const TSplitRange& range : ranges.Pieces)
            pieces.push_back({range, Dir / ("p" + std::to_string(pieces.size()) + ".mp3"), TID3v1Tag{}});
        const TSplitResult result = Mp3.WriteSplit(pieces, options);
        EXPECT_TRUE(result.Failure.Ok()) << result.Failure.Message;
        std::vector<Bytes> written;
        for (const TSplitPiece& piece : pieces)
            written.push_back(ReadAll(piece.FileName));
        return written;
    }

    TempDir Dir;
    TRoruvoMP3 Mp3;
};

Bytes Joined(const std::vector<Bytes>& pieces)
{
    Bytes all;
    for (const Bytes& piece : pieces)
        all = all + piece;
    return all;
}

TEST(SplitTimes, EveryAndPartsCoverTheStream)
{
    // Pieces of 1 s of 3.5 s: the last one shorter; an exact multiple makes
    // no empty piece at the end.
    EXPECT_EQ(SplitTimesEvery(Ms(3500), Ms(1000)), (std::vector{Ms(1000), Ms(2000), Ms(3000)}));
    EXPECT_EQ(SplitTimesEvery(Ms(3000), Ms(1000)), (std::vector{Ms(1000), Ms(2000)}));
    EXPECT_TRUE(SplitTimesEvery(Ms(3000), Ms(5000)).empty());
    EXPECT_EQ(SplitTimesParts(Ms(3000), 3), (std::vector{Ms(1000), Ms(2000)}));
    EXPECT_TRUE(SplitTimesParts(Ms(3000), 1).empty());
    // Equal parts of a length that does not divide: exact to the tick, and
    // no overflow for a stream of days.
    const TStreamTime days{TStreamTime::TicksPerSecond * 86400 * 30 + 7};
    const auto parts = SplitTimesParts(days, 7);
    ASSERT_EQ(parts.size(), 6u);
    EXPECT_EQ(parts[0].Ticks, days.Ticks / 7);
    EXPECT_EQ(parts[5].Ticks, days.Ticks / 7 * 6 + (days.Ticks % 7) * 6 / 7);
}

TEST_F(Split, PiecesBeginAtTheFirstFrameAtOrAfterEachTime)
{
    Load(Frames(H48, 10)); // frames of 24 ms
    const TSplitRanges ranges = PlanPlainSplit(Mp3.Index(), {Ms(48), Ms(49), Ms(216)}, false);
    ASSERT_TRUE(ranges.Declined.empty());
    ASSERT_EQ(ranges.Pieces.size(), 4u);
    // 48 ms is frame 2's start; 49 falls in frame 2, so frame 3 begins the next.
    EXPECT_EQ(ranges.Pieces[0].Last, 2u);
    EXPECT_EQ(ranges.Pieces[1].First, 2u);
    EXPECT_EQ(ranges.Pieces[1].Last, 3u);
    EXPECT_EQ(ranges.Pieces[2].Last, 9u);
    EXPECT_EQ(ranges.Pieces[3].Last, 10u);
    EXPECT_EQ(ranges.Pieces[3].End, Ms(240));
    EXPECT_TRUE(ranges.Pieces[3].ToEnd);
}

TEST_F(Split, TimesThatMakeAnEmptyPieceAreDeclinedOrDropped)
{
    Load(Frames(H48, 10));
    const auto declined = [&](std::vector<TStreamTime> times) {
        return PlanPlainSplit(Mp3.Index(), times, false).Declined;
    };
    EXPECT_NE(declined({Ms(0)}).find("start"), std::string::npos);
    EXPECT_NE(declined({Ms(217)}).find("past"), std::string::npos); // after the last frame's start
    EXPECT_NE(declined({Ms(25), Ms(40)}).find("same frame"), std::string::npos);
    // Dropped instead: the piece before takes the frames.
    const TSplitRanges dropped = PlanPlainSplit(Mp3.Index(), {Ms(100), Ms(230)}, true);
    ASSERT_EQ(dropped.Pieces.size(), 2u);
    EXPECT_EQ(dropped.Pieces[1].Last, 10u);
    EXPECT_FALSE(PlanExactSplit(Mp3.Index(), {Ms(240)}, false).Declined.empty());
    EXPECT_FALSE(PlanExactSplit(Mp3.Index(), {Ms(50), Ms(50)}, false).Declined.empty());
}

// Every frame in exactly one piece, in order, with the leading ID3v2 tag,
// a header frame and the trailing tags of the source left out.
TEST_F(Split, PiecesJoinedAreTheStreamsFrames)
{
    const Bytes frames = Frames(H44, 120);
    Load(Id3v2(300) + HeaderFrame(H44, 36, "Info") + frames + ApeFooter() +
         Id3v1Fields("T", "A", "", "", "", 0, 1));
    const TStreamTime length = Mp3.Index().Duration();
    for (const auto& times : {SplitTimesParts(length, 7), SplitTimesEvery(length, Ms(1000)),
                              std::vector{Ms(1), Ms(26), Ms(27), Ms(3000)}}) {
        const TSplitRanges ranges = PlanPlainSplit(Mp3.Index(), times, true);
        const std::vector<Bytes> pieces = Write(ranges);
        EXPECT_EQ(pieces.size(), ranges.Pieces.size());
        EXPECT_EQ(Joined(pieces), frames);
    }
}

TEST_F(Split, EveryDestinationIsCheckedBeforeAnyPieceIsWritten)
{
    Load(Frames(H48, 10));
    const TSplitRanges ranges = PlanPlainSplit(Mp3.Index(), {Ms(96)}, false);
    // The second piece would replace the input: nothing at all is written.
    std::vector<TSplitPiece> pieces{{ranges.Pieces[0], Dir / "first.mp3", TID3v1Tag{}},
                                    {ranges.Pieces[1], Dir / "in.mp3", TID3v1Tag{}}};
    const TSplitResult result = Mp3.WriteSplit(pieces, {});
    EXPECT_EQ(result.Failure.Status, TCutStatus::OutputIsInput);
    EXPECT_EQ(result.Written, 0u);
    EXPECT_FALSE(Exists(Dir / "first.mp3"));
    EXPECT_EQ(ReadAll(Dir / "in.mp3"), Frames(H48, 10));
}

TEST_F(Split, AFailedPieceLeavesThePiecesBeforeItAndNoPartialFile)
{
    Load(Frames(H48, 10));
    const TSplitRanges ranges = PlanPlainSplit(Mp3.Index(), {Ms(96), Ms(144)}, false);
    ASSERT_EQ(mkdir((Dir / "sub").c_str(), 0700), 0);
    std::vector<TSplitPiece> pieces{{ranges.Pieces[0], Dir / "a.mp3", TID3v1Tag{}},
                                    {ranges.Pieces[1], Dir / "sub/b.mp3", TID3v1Tag{}},
                                    {ranges.Pieces[2], Dir / "c.mp3", TID3v1Tag{}}};
    // The folder of the second piece goes away after the checks: it cannot
    // be created, the first stays complete and nothing else is left.
    size_t calls = 0;
    const TSplitResult result = Mp3.WriteSplit(pieces, {}, [&](size_t) {
        if (calls++ == 0)
            rmdir((Dir / "sub").c_str());
    });
    EXPECT_EQ(result.Written, 1u);
    EXPECT_EQ(result.Failure.Status, TCutStatus::DestinationNotWritable);
    EXPECT_EQ(ReadAll(Dir / "a.mp3"), Slice(Frames(H48, 10), 0, 4 * 384));
    EXPECT_EQ(Dir.Names(), (std::vector<std::string>{"a.mp3", "in.mp3"}));
}

TEST_F(Split, LengthHeaderAndTagGoOnEveryPiece)
{
    Load(Frames(H44, 60));
    TCutOptions options;
    options.LengthHeader = true;
    const TSplitRanges ranges = PlanPlainSplit(Mp3.Index(), SplitTimesParts(Mp3.Index().Duration(), 3), false);
    std::vector<TSplitPiece> pieces;
    TID3v1Tag tag{};
    std::memcpy(tag.Marker, "TAG", 3);
    for (const TSplitRange& range : ranges.Pieces) {
        tag.Track = static_cast<uint8_t>(pieces.size() + 1);
        pieces.push_back({range, Dir / ("p" + std::to_string(pieces.size()) + ".mp3"), tag});
    }
    ASSERT_TRUE(Mp3.WriteSplit(pieces, options).Failure.Ok());
    Bytes audio;
    for (size_t i = 0; i < pieces.size(); ++i) {
        const Bytes piece = ReadAll(pieces[i].FileName);
        ASSERT_GT(piece.size(), 417u + 128u);
        EXPECT_EQ(std::string(piece.begin() + 36, piece.begin() + 40), "Info"); // header frame first
        EXPECT_EQ(piece[piece.size() - 2], i + 1);                           // track number
        audio = audio + Slice(piece, 417, piece.size() - 417 - 128);
    }
    EXPECT_EQ(audio, Frames(H44, 60));
}

} // namespace
