// Exact cuts of sources that decoders read differently from a plain frame
// walk, checked by decoding: a damaged stretch after which the frames go on
// off the four-byte grid, and a "VBRI" header frame.
#include "engine/cut/ExactCut.h"
#include "engine/RoruvoMp3.h"
#include "tests/engine/Mp3Bytes.h"
#include "tests/media/Decoders.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace vivizu;
using namespace vivizu::test;

namespace {

constexpr size_t Stereo = 2;
constexpr size_t FrameSamples = 1152;

// Offsets of the frames of a 128 kbit/s 44.1 kHz MPEG 1 Layer III file.
std::vector<size_t> Cbr128FrameStarts(const Bytes& file)
{
    size_t at = 0;
    if (file.size() > 10 && file[0] == 'I' && file[1] == 'D' && file[2] == '3')
        at = 10 + (size_t{file[6]} << 21 | size_t{file[7]} << 14 | size_t{file[8]} << 7 | file[9]);
    std::vector<size_t> starts;
    while (at + 4 <= file.size() && file[at] == 0xFF && (file[at + 1] & 0xE0) == 0xE0) {
        starts.push_back(at);
        at += 144 * 128000 / 44100 + ((file[at + 2] >> 1) & 1);
    }
    return starts;
}

// The largest difference between a decode and [from, from + count) frames'
// worth of samples of another.
int LargestDifference(const Pcm& cut, const Pcm& whole, size_t from)
{
    int largest = 0;
    for (size_t i = 0; i < cut.size(); ++i)
        largest = std::max(largest, std::abs(cut[i] - whole[from * Stereo + i]));
    return largest;
}

class OddSourceExactCut : public ::testing::Test {
protected:
    // Cuts [startMs, endMs) of the loaded source exactly and decodes it.
    TDecoded Cut(TRoruvoMP3& mp3, int32_t startMs, int32_t endMs, bool ffmpeg)
    {
        const std::string out = Dir / "cut.mp3";
        EXPECT_TRUE(mp3.SaveSegment(startMs, endMs, out, TID3v1Tag{}));
        return ffmpeg ? DecodeFfmpeg(out, Stereo, Dir) : DecodeMpg123(out);
    }

    TempDir Dir;
};

TEST_F(OddSourceExactCut, DamagedStretchFollowsTheDecodersFrameChain)
{
    // Frame 20's header is overwritten with one of 192 kbit/s: its length runs
    // past frame 21, and frames 21 on no longer lie on the walk's four-byte
    // grid from it. libmpg123 drops the damaged frame and plays frame 21 on;
    // a four-byte walk would join the chain only at frame 23.
    Bytes file = ReadAll(std::string(VIVIZU_FIXTURES) + "/cbr128-tags.mp3");
    const std::vector<size_t> starts = Cbr128FrameStarts(file);
    ASSERT_GT(starts.size(), 40u);
    file[starts[20] + 2] = static_cast<uint8_t>(0xB0 | (file[starts[20] + 2] & 0x0F));
    const std::string source = Dir.Write("damaged.mp3", file);

    TRoruvoMP3 mp3;
    mp3.LoadFile(source);
    ASSERT_TRUE(mp3.Valid);
    mp3.CutOptions.ExactCut = true;
    const TDecoded whole = DecodeMpg123(source);
    const size_t total = whole.Samples.size() / Stereo;
    const TDecoded undamaged = DecodeMpg123(std::string(VIVIZU_FIXTURES) + "/cbr128-tags.mp3");
    const size_t late = 40 * FrameSamples;
    ASSERT_LE(LargestDifference(Pcm(whole.Samples.begin() + late * Stereo, whole.Samples.begin() + (late + 100) * Stereo),
                                undamaged.Samples, late + FrameSamples),
              1)
        << "libmpg123 drops the damaged frame and plays the next";

    // Before the damage, across it, and after it: the cut is the slice of
    // libmpg123's decode, so the timeline after the damage is the decoders'.
    const std::pair<int32_t, int32_t> cuts[] = {{0, 300}, {400, 900}, {700, 1400}};
    for (const auto& [startMs, endMs] : cuts) {
        SCOPED_TRACE(std::to_string(startMs) + "-" + std::to_string(endMs));
        const size_t s = static_cast<size_t>(MsToSample(startMs, 44100));
        const size_t e = std::min(total, static_cast<size_t>(MsToSample(endMs, 44100)));
        const TDecoded cut = Cut(mp3, startMs, endMs, false);
        EXPECT_TRUE(cut.Errors.empty()) << cut.Errors;
        ASSERT_EQ(cut.Samples.size() / Stereo, e - s);
        if (startMs != 400) { // the frame after the damage lost its reservoir in the source's decode
            EXPECT_LE(LargestDifference(cut.Samples, whole.Samples, s), 1);
        }
    }
    // ffmpeg reads the clean cut after the damage as libmpg123 does.
    const TDecoded after = Cut(mp3, 700, 1400, true);
    EXPECT_TRUE(after.Errors.empty()) << after.Errors;
    ASSERT_EQ(after.Samples.size() / Stereo, static_cast<size_t>(MsToSample(1400, 44100) - MsToSample(700, 44100)));
    EXPECT_LE(LargestDifference(after.Samples, whole.Samples, static_cast<size_t>(MsToSample(700, 44100))), 1);
}

TEST_F(OddSourceExactCut, VbriHeaderFrameIsNoAudioAsFfmpegReadsIt)
{
    const std::string plain = std::string(VIVIZU_FIXTURES) + "/stereo-notag.mp3";
    const Bytes audio = ReadAll(plain);
    const Header first{audio[0], audio[1], audio[2], audio[3]};
    const TDecoded plainDecode = DecodeFfmpeg(plain, Stereo, Dir);
    // Version 1, then the stream's bytes and frames (big-endian), which
    // ffmpeg needs before it takes the frame for a header.
    Bytes vbri = HeaderFrame(first, 36, "VBRI");
    vbri[41] = 1;
    const auto putBE32 = [&vbri](size_t at, size_t value) {
        for (size_t i = 0; i < 4; ++i)
            vbri[at + i] = static_cast<uint8_t>(value >> (24 - 8 * i));
    };
    putBE32(46, audio.size());
    putBE32(50, plainDecode.Samples.size() / Stereo / FrameSamples);
    const std::string source = Dir.Write("vbri.mp3", vbri + audio);

    const TDecoded fromFfmpeg = DecodeFfmpeg(source, Stereo, Dir);
    ASSERT_EQ(fromFfmpeg.Samples, plainDecode.Samples) << "ffmpeg skips the VBRI frame";
    const TDecoded fromMpg123 = DecodeMpg123(source);
    ASSERT_EQ(fromMpg123.Samples.size(), fromFfmpeg.Samples.size() + FrameSamples * Stereo)
        << "libmpg123 plays it as one frame of silence";

    TRoruvoMP3 mp3;
    mp3.LoadFile(source);
    ASSERT_TRUE(mp3.Valid);
    mp3.CutOptions.ExactCut = true;
    for (const bool ffmpeg : {true, false}) {
        SCOPED_TRACE(ffmpeg ? "ffmpeg" : "libmpg123");
        const TDecoded cut = Cut(mp3, 100, 700, ffmpeg);
        EXPECT_TRUE(cut.Errors.empty()) << cut.Errors;
        const size_t s = static_cast<size_t>(MsToSample(100, 44100));
        ASSERT_EQ(cut.Samples.size() / Stereo, static_cast<size_t>(MsToSample(700, 44100)) - s);
        EXPECT_LE(LargestDifference(cut.Samples, fromFfmpeg.Samples, s), 1);
        EXPECT_LE(LargestDifference(cut.Samples, fromMpg123.Samples, s + FrameSamples), 1);
    }
}

} // namespace
