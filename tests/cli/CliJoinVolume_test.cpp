// vivizu-cli join with cut's volume options: --gain gives the join of the
// gained cuts, the fades touch the start of the first file, the end of the
// last and (--join-fade) the granules around each join only, --normalize
// measures all the ranges together, Layer II is refused before anything is
// written, and both decoders take every result without a word.
#include "CliRunner.h"
#include "engine/cut/GainTransform.h"
#include "engine/frames/MpegHeader.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

using namespace clitest;
using namespace vivizu;
using namespace vivizu::test;

namespace {

const std::string Fixtures = VIVIZU_FIXTURES;

// The global_gain fields of every frame of a file that holds frames only
// (no tag, no header frame): per frame, granule by granule, channel by
// channel.
std::vector<std::vector<int>> FrameGains(const Bytes& bytes)
{
    std::vector<std::vector<int>> frames;
    for (size_t at = 0; at + 4 <= bytes.size();) {
        const TMpegHeader header = TMpegHeader::At(bytes.data() + at);
        const auto length = static_cast<size_t>(header.FrameLength());
        if (length < 4 || at + length > bytes.size())
            break;
        const std::span<const uint8_t> frame(bytes.data() + at, length);
        std::vector<int> gains;
        for (int gr = 0; gr < header.Granules(); ++gr)
            for (int ch = 0; ch < header.Channels(); ++ch)
                gains.push_back(GlobalGain(frame, header, gr, ch));
        frames.push_back(gains);
        at += length;
    }
    return frames;
}

class CliJoinVolume : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveTool("sox") || !HaveTool("lame") || !HaveTool("ffmpeg") || !HaveTool("mpg123"))
            GTEST_SKIP() << "needs sox, lame, ffmpeg and mpg123";
        // A quiet tone and a loud noise, far apart in loudness.
        ASSERT_EQ(std::system(("sox -q -R -n -r 44100 -c 2 -b 16 '" + Dir / "a.wav" + "' synth 4 sine 440 vol 0.02 && " +
                               "sox -R -q -n -r 44100 -c 2 -b 16 '" + Dir / "b.wav" + "' synth 5 pinknoise vol 0.4 && " +
                               "lame --quiet -V 2 '" + Dir / "a.wav" + "' '" + A + "' && lame --quiet -V 2 '" +
                               Dir / "b.wav" + "' '" + B + "'")
                                  .c_str()),
                  0);
    }
    // join --no-tag with options of a and b (each may carry a range).
    Bytes Join(std::vector<std::string> options, const std::string& a, const std::string& b,
               const std::string& name = "j.mp3")
    {
        std::vector<std::string> argv{"join", "--no-tag", "--force", "-o", Dir / name};
        argv.insert(argv.end(), options.begin(), options.end());
        argv.insert(argv.end(), {a, b});
        const TRun run = RunCli(argv);
        EXPECT_EQ(run.Exit, 0) << run.Err;
        EXPECT_EQ(DecoderComplaints(Dir / name), "") << options.front();
        return ReadAll(Dir / name);
    }
    TempDir Dir;
    const std::string A = Dir / "a.mp3", B = Dir / "b.mp3";
};

// The gain of a join is every frame's: the join of A and B with --gain is
// byte for byte the plain join of `cut --gain` of each; joined from within
// (with a carrying frame at the join) every field but the silent ones is
// two steps up from the plain join's.
TEST_F(CliJoinVolume, GainIsTheJoinOfTheGainedCuts)
{
    for (const std::string& file : {A, B})
        ASSERT_EQ(RunCli({"cut", "--no-tag", "--gain", "3", file, file + ".cut", "0", "10:00"}).Exit, 0);
    const Bytes gained = Join({"--gain", "3"}, A, B);
    EXPECT_EQ(gained, Join({"--force"}, A + ".cut", B + ".cut", "cuts.mp3"));
    EXPECT_NE(gained, Join({"--force"}, A, B, "plain.mp3"));

    const auto plain = FrameGains(Join({"--force"}, A + ":1.0-3.0", B + ":1.5-4.0", "plain.mp3"));
    const auto up = FrameGains(Join({"--gain", "3"}, A + ":1.0-3.0", B + ":1.5-4.0"));
    ASSERT_EQ(plain.size(), up.size());
    ASSERT_GT(plain.size(), 150u);
    int raised = 0;
    for (size_t i = 0; i < plain.size(); ++i)
        for (size_t f = 0; f < plain[i].size(); ++f) {
            if (plain[i][f] == 0) {
                EXPECT_EQ(up[i][f], 0) << i; // silent granules stay silent
                continue;
            }
            EXPECT_EQ(up[i][f], plain[i][f] + 2) << "frame " << i << " field " << f;
            ++raised;
        }
    EXPECT_GT(raised, 500);
}

// --join-fade lowers the granules on either side of the join and nothing
// else; --fade-in and --fade-out touch the start of the first file and the
// end of the last only, never the join.
TEST_F(CliJoinVolume, FadesChangeOnlyTheGranulesTheyReach)
{
    const auto plain = FrameGains(Join({"--force"}, A, B, "plain.mp3"));
    const size_t join = FrameGains(Join({"--force"}, A, A, "aa.mp3")).size() / 2; // A's frames
    ASSERT_GT(join, 100u);
    ASSERT_GT(plain.size(), join + 100);
    // 0.1 s: 8 granules of 576 samples, 4 frames on each side.
    const auto joinFaded = FrameGains(Join({"--join-fade", "0.1"}, A, B));
    ASSERT_EQ(joinFaded.size(), plain.size());
    for (size_t i = 0; i < plain.size(); ++i) {
        SCOPED_TRACE(i);
        const bool near = i + 4 >= join && i < join + 4;
        for (size_t f = 0; f < plain[i].size(); ++f)
            if (near)
                EXPECT_LE(joinFaded[i][f], plain[i][f]);
            else
                EXPECT_EQ(joinFaded[i][f], plain[i][f]);
    }
    // The granules next to the join are silent; the fade rises from there.
    EXPECT_EQ(joinFaded[join - 1].back(), 0);
    EXPECT_EQ(joinFaded[join].front(), 0);
    EXPECT_LT(joinFaded[join - 3].front(), plain[join - 3].front());
    EXPECT_LT(joinFaded[join + 2].front(), plain[join + 2].front());

    const auto ends = FrameGains(Join({"--fade-in", "0.2", "--fade-out", "0.2"}, A, B));
    ASSERT_EQ(ends.size(), plain.size());
    EXPECT_EQ(ends.front().front(), 0);
    EXPECT_EQ(ends.back().back(), 0);
    for (size_t i = 10; i + 10 < plain.size(); ++i)
        EXPECT_EQ(ends[i], plain[i]) << i;
}

// The loudness of a join is measured over all its ranges together: the
// joined output comes within 1.5 dB of the target, and the loudness it
// printed is the plain join's (not the first file's).
TEST_F(CliJoinVolume, NormalizeMeasuresTheWholeJoin)
{
    const auto lufs = [](const std::string& text) {
        const size_t at = text.find("IntegratedLufs: ");
        return at == std::string::npos ? NAN : std::atof(text.c_str() + at + 16);
    };
    const std::string plain = Dir / "plain.mp3";
    Join({"--force"}, A, B + ":0.5-4.5", "plain.mp3");
    const double whole = lufs(RunCli({"loudness", plain}).Out);
    const double first = lufs(RunCli({"loudness", A}).Out);
    ASSERT_GT(std::abs(whole - first), 4.0) << whole << " " << first;
    for (const double target : {-23.0, -16.0}) {
        SCOPED_TRACE(target);
        char option[32];
        std::snprintf(option, sizeof option, "--normalize=%g", target);
        const TRun run = RunCli({"join", "--no-tag", "--force", "--length-header", "--join-fade", "0.05", option,
                                 "-o", Dir / "n.mp3", A, B + ":0.5-4.5"});
        ASSERT_EQ(run.Exit, 0) << run.Err;
        EXPECT_EQ(DecoderComplaints(Dir / "n.mp3"), "");
        const size_t at = run.Out.find("loudness: ");
        ASSERT_NE(at, std::string::npos) << run.Out;
        EXPECT_NEAR(std::atof(run.Out.c_str() + at + 10), whole, 0.3) << run.Out;
        EXPECT_NE(run.Out.find("normalize: "), std::string::npos) << run.Out;
        EXPECT_NEAR(lufs(RunCli({"loudness", Dir / "n.mp3"}).Out), target, 1.5);
    }
}

// Layer II keeps its levels in scale factors: a join of Layer II files with
// any volume option is refused with the reason, as is a fade longer than
// the whole join, and nothing is written; the plain join is written.
TEST(CliJoinVolumeRefusals, LayerTwoAndOverlongFadesWriteNothing)
{
    TempDir dir;
    const std::string l2 = Fixtures + "/layer2-48k.mp3", l3 = Fixtures + "/tone-pause-tone.mp3";
    const std::string out = dir / "out.mp3";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"--gain", "3", l2, l2}, "gain and fades need Layer III audio"},
        {{"--fade-in", "0.1", l2, l2}, "gain and fades need Layer III audio"},
        {{"--fade-out", "0.1", l2, l2}, "gain and fades need Layer III audio"},
        {{"--join-fade", "0.1", l2, l2}, "gain and fades need Layer III audio"},
        {{"--normalize", l2, l2}, "loudness normalisation works on Layer III streams only"},
        {{"--fade-in", "9.0", "--fade-out", "9.0", l3, l3}, "the fades (9.000 s in, 9.000 s out) last longer"},
    };
    for (const auto& [options, message] : cases) {
        SCOPED_TRACE(options.front());
        std::vector<std::string> argv{"join", "-o", out};
        argv.insert(argv.end(), options.begin(), options.end());
        const TRun run = RunCli(argv);
        EXPECT_EQ(run.Exit, 1);
        EXPECT_NE(run.Err.find(message), std::string::npos) << run.Err;
        EXPECT_NE(run.Err.find("nothing written"), std::string::npos) << run.Err;
        EXPECT_FALSE(Exists(out));
        argv.insert(argv.begin() + 1, "--json");
        const TRun json = RunCli(argv);
        EXPECT_EQ(json.Exit, 1);
        EXPECT_NE(json.Out.find("\"status\": \"declined\", \"written\": []"), std::string::npos) << json.Out;
        EXPECT_FALSE(Exists(out));
    }
    ASSERT_EQ(RunCli({"join", "-o", out, l2, l2}).Exit, 0);
}

} // namespace
