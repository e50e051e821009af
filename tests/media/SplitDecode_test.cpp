// An exact split, checked by decoding: the pieces played one after another
// by ffmpeg and by libmpg123 (gapless) are the source's own gapless decode,
// sample for sample, without a gap or an overlap at any split point.
#include "engine/RoruvoMp3.h"
#include "engine/cut/SplitPlan.h"
#include "tests/engine/Mp3Bytes.h"
#include "tests/media/Decoders.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace vivizu;
using namespace vivizu::test;

namespace {

class SplitDecode : public ::testing::TestWithParam<const char*> {
protected:
    TempDir Dir;
};

TEST_P(SplitDecode, ExactPiecesPlayedInTurnAreTheSource)
{
    const std::string source = std::string(VIVIZU_FIXTURES) + "/" + GetParam();
    TRoruvoMP3 mp3;
    mp3.LoadFile(source);
    ASSERT_TRUE(mp3.Valid);
    const TDecoded whole = DecodeMpg123(source);
    ASSERT_TRUE(whole.Errors.empty()) << whole.Errors;
    const int channels = whole.Channels;
    const TDecoded wholeFfmpeg = DecodeFfmpeg(source, channels, Dir);

    // Five parts of equal length on the timeline players play: the points
    // fall anywhere inside frames.
    const TStreamTime played = mp3.GaplessDuration();
    const TSplitRanges ranges = PlanExactSplit(played, SplitTimesParts(played, 5), false);
    ASSERT_TRUE(ranges.Declined.empty()) << ranges.Declined;
    std::vector<TSplitPiece> pieces;
    for (const TSplitRange& range : ranges.Pieces)
        pieces.push_back({range, Dir / ("piece" + std::to_string(pieces.size()) + ".mp3"), TID3v1Tag{}});
    TCutOptions options;
    options.ExactCut = true;
    const TSplitResult result = mp3.WriteSplit(pieces, options);
    ASSERT_TRUE(result.Failure.Ok()) << result.Failure.Message;
    ASSERT_EQ(result.Written, 5u);

    for (const bool ffmpeg : {false, true}) {
        SCOPED_TRACE(ffmpeg ? "ffmpeg" : "libmpg123");
        const TDecoded& reference = ffmpeg ? wholeFfmpeg : whole;
        Pcm joined;
        for (const TSplitPiece& piece : pieces) {
            const TDecoded part = ffmpeg ? DecodeFfmpeg(piece.FileName, channels, Dir) : DecodeMpg123(piece.FileName);
            EXPECT_TRUE(part.Errors.empty()) << part.Errors;
            joined.insert(joined.end(), part.Samples.begin(), part.Samples.end());
        }
        ASSERT_EQ(joined.size(), reference.Samples.size());
        // The parts are equal, as far as their ends round to milliseconds.
        const size_t rate = static_cast<size_t>(mp3.Info.SampleRate);
        for (const TSplitPiece& piece : pieces) {
            const size_t samples = DecodeMpg123(piece.FileName).Samples.size() / static_cast<size_t>(channels);
            EXPECT_NEAR(static_cast<double>(samples) * 5, static_cast<double>(reference.Samples.size()) / channels,
                        5.0 * static_cast<double>(rate) / 1000);
        }
        int largest = 0;
        for (size_t i = 0; i < joined.size(); ++i)
            largest = std::max(largest, std::abs(joined[i] - reference.Samples[i]));
        EXPECT_LE(largest, 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, SplitDecode,
                         ::testing::Values("vbr48k.mp3", "cbr128-tags.mp3", "mono22k.mp3", "mono8k.mp3"),
                         [](const auto& p) {
                             std::string name = p.param;
                             name = name.substr(0, name.find('.'));
                             std::erase(name, '-');
                             return name;
                         });

} // namespace
