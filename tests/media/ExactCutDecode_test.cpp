// The exact cut, checked by decoding: ffmpeg and libmpg123 (gapless) play a
// cut as exactly the samples [s, e) of the source's own gapless decode.
#include "engine/cut/ExactCut.h"
#include "engine/RoruvoMp3.h"
#include "tests/engine/Mp3Bytes.h"
#include "tests/media/Decoders.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <map>

using namespace vivizu;
using namespace vivizu::test;

namespace {

struct TCase {
    const char* File;
    bool Ffmpeg; // ffmpeg reads the source's delay (it does not behind zero padding)
};

class ExactCutDecode : public ::testing::TestWithParam<TCase> {
protected:
    TempDir Dir;
};

TEST_P(ExactCutDecode, CutIsTheSourceSliceSampleForSample)
{
    const std::string source = std::string(VIVIZU_FIXTURES) + "/" + GetParam().File;
    TRoruvoMP3 mp3;
    mp3.LoadFile(source);
    ASSERT_TRUE(mp3.Valid);
    mp3.CutOptions.ExactCut = true;
    const int rate = mp3.Info.SampleRate;

    const TDecoded fromMpg123 = DecodeMpg123(source);
    ASSERT_TRUE(fromMpg123.Errors.empty()) << fromMpg123.Errors;
    const int channels = fromMpg123.Channels;
    std::map<std::string, TDecoded> sources{{"libmpg123", fromMpg123}};
    if (GetParam().Ffmpeg)
        sources["ffmpeg"] = DecodeFfmpeg(source, channels, Dir);

    // From 0, in the first frames, in the middle, to the end and past it.
    const std::pair<int32_t, int32_t> cuts[] = {{0, 300}, {10, 700}, {37, 1000}, {511, 1203}, {700, 100000}};
    for (const auto& [startMs, endMs] : cuts) {
        const std::string out = Dir / "cut.mp3";
        ASSERT_TRUE(mp3.SaveSegment(startMs, endMs, out, TID3v1Tag{}));
        for (const auto& [decoder, whole] : sources) {
            const TDecoded cut = decoder == "ffmpeg" ? DecodeFfmpeg(out, channels, Dir) : DecodeMpg123(out);
            SCOPED_TRACE(decoder + " " + std::to_string(startMs) + "-" + std::to_string(endMs));
            EXPECT_TRUE(cut.Errors.empty()) << cut.Errors;
            const size_t total = whole.Samples.size() / static_cast<size_t>(channels);
            const size_t s = static_cast<size_t>(MsToSample(startMs, rate));
            const size_t e = std::min(total, static_cast<size_t>(MsToSample(endMs, rate)));
            ASSERT_EQ(cut.Samples.size() / static_cast<size_t>(channels), e - s);
            int largest = 0;
            for (size_t i = 0; i < cut.Samples.size(); ++i)
                largest = std::max(largest, std::abs(cut.Samples[i] - whole.Samples[s * static_cast<size_t>(channels) + i]));
            EXPECT_LE(largest, 1);
        }
    }
}

// Cuts shorter than a frame. libmpg123 plays exactly their samples. ffmpeg
// forgets a start skip that is still pending when a packet carries end
// padding, so it is exact once the cut reaches past the end of the decoded
// frame in which it starts: cuts a little longer than a frame are checked
// with it.
TEST(ExactCutDecodeShort, CutsShorterThanAFrameDecodeExactly)
{
    TempDir dir;
    const std::string source = std::string(VIVIZU_FIXTURES) + "/vbr48k.mp3";
    TRoruvoMP3 mp3;
    mp3.LoadFile(source);
    ASSERT_TRUE(mp3.Valid);
    mp3.CutOptions.ExactCut = true;
    const TDecoded whole = DecodeMpg123(source);
    const TDecoded wholeFfmpeg = DecodeFfmpeg(source, whole.Channels, dir);
    const size_t channels = static_cast<size_t>(whole.Channels);
    const std::string out = dir / "cut.mp3";

    struct TShort {
        int32_t StartMs, EndMs;
        bool Ffmpeg;
    };
    for (const TShort c : {TShort{500, 501, false}, TShort{123, 128, false}, TShort{900, 910, false},
                           TShort{0, 1, false}, TShort{500, 530, true}, TShort{123, 150, true}}) {
        ASSERT_TRUE(mp3.SaveSegment(c.StartMs, c.EndMs, out, TID3v1Tag{}));
        std::vector<std::pair<std::string, TDecoded>> decodes{{"libmpg123", DecodeMpg123(out)}};
        if (c.Ffmpeg)
            decodes.emplace_back("ffmpeg", DecodeFfmpeg(out, whole.Channels, dir));
        for (const auto& [decoder, cut] : decodes) {
            SCOPED_TRACE(decoder + " " + std::to_string(c.StartMs) + "-" + std::to_string(c.EndMs));
            const TDecoded& source_ = decoder == "ffmpeg" ? wholeFfmpeg : whole;
            EXPECT_TRUE(cut.Errors.empty()) << cut.Errors;
            const size_t s = static_cast<size_t>(MsToSample(c.StartMs, 48000));
            ASSERT_EQ(cut.Samples.size() / channels, static_cast<size_t>(MsToSample(c.EndMs, 48000)) - s);
            int largest = 0;
            for (size_t i = 0; i < cut.Samples.size(); ++i)
                largest = std::max(largest, std::abs(cut.Samples[i] - source_.Samples[s * channels + i]));
            EXPECT_LE(largest, 1);
        }
    }
}

// Seconds of the stream as ffprobe reports them.
double ProbedSeconds(const std::string& path)
{
    const std::string command = "ffprobe -v error -show_entries format=duration -of csv=p=0 '" + path + "'";
    FILE* pipe = popen(command.c_str(), "r");
    double seconds = -1;
    if (pipe != nullptr) {
        if (std::fscanf(pipe, "%lf", &seconds) != 1)
            seconds = -1;
        pclose(pipe);
    }
    return seconds;
}

TEST(LengthHeader, PlayersReadTheCutsLengthFromIt)
{
    TempDir dir;
    TRoruvoMP3 mp3;
    mp3.LoadFile(std::string(VIVIZU_FIXTURES) + "/vbr48k.mp3");
    mp3.CutOptions.LengthHeader = true;
    const std::string out = dir / "cut.mp3";
    ASSERT_TRUE(mp3.SaveSegment(240, 1440, out, TID3v1Tag{}));
    // 50 frames of 24 ms follow the header frame.
    EXPECT_NEAR(ProbedSeconds(out), 1.2, 0.024);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, ExactCutDecode,
                         ::testing::Values(TCase{"vbr48k.mp3", true},        // MPEG 1 VBR joint stereo
                                           TCase{"cbr128-tags.mp3", true},   // MPEG 1 CBR, ID3 tags
                                           TCase{"stereo-notag.mp3", true},  // stereo, no encoder header
                                           TCase{"mono22k.mp3", true},       // MPEG 2 mono
                                           TCase{"mono8k.mp3", true},        // MPEG 2.5 mono
                                           TCase{"ffmpeg-ape.mp3", true},    // another encoder's header
                                           TCase{"leading-zeros.mp3", false}),
                         [](const auto& p) {
                             std::string name = p.param.File;
                             name = name.substr(0, name.find('.'));
                             std::erase(name, '-');
                             return name;
                         });

} // namespace
