// The Layer I and II estimate from scalefactors: a built frame whose one
// scalefactor is known, and files made with twolame for each of Layer II's
// bit allocation tables, where silence must read silent, noise loud, and
// noise 30 dB lower about 30 dB lower.
#include "SoundFiles.h"
#include "engine/RoruvoMp3.h"
#include "engine/decode/ScalefactorLevels.h"
#include "engine/decode/SideInfoLevels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>

namespace vivizu {
namespace {

TEST(ScalefactorLevels, BuiltLayerOneFrame)
{
    // MPEG-1 Layer I, 32 kbit/s, 44.1 kHz, mono: 32 bytes. Subband 0 gets
    // allocation 5, the others none; its scalefactor is 9: 2^(1 - 9/3).
    std::vector<uint8_t> frame(32, 0);
    frame[0] = 0xFF, frame[1] = 0xFF, frame[2] = 0x10, frame[3] = 0xC0;
    const TMpegHeader header = TMpegHeader::At(frame.data());
    ASSERT_EQ(header.Layer(), 1);
    ASSERT_EQ(header.FrameLength(), 32);
    frame[4] = 0x50;       // allocation of subband 0: 0101
    frame[20] = 0x9 << 2;  // its scalefactor, the six bits after the 128 of allocations
    EXPECT_NEAR(ScalefactorFrameDb(frame, header), 20 * std::log10(0.25), 1e-9);

    std::vector<uint8_t> silent(32, 0);
    std::copy_n(frame.begin(), 4, silent.begin());
    EXPECT_EQ(ScalefactorFrameDb(silent, header), -INFINITY);
    // Cut short before its scalefactor: no level rather than a wrong one.
    EXPECT_TRUE(std::isnan(ScalefactorFrameDb(std::span(frame).first(20), header)));
    TUnitLevels levels;
    AppendFrameLevels(std::span(frame).first(20), header, levels);
    EXPECT_EQ(levels, TUnitLevels(std::vector<float>{0.0f, 0.0f}));
}

struct TLayer2Format {
    const char* Name;
    const char* Sox;     // rate and channels
    const char* Twolame; // bit rate and mode
};

class ScalefactorFiles : public ::testing::TestWithParam<TLayer2Format> {
protected:
    // Silence, one second of pink noise at `volume`, silence; encoded with
    // twolame. The estimated levels per granule.
    TGranuleLevels Estimate(const std::string& name, const char* volume)
    {
        const std::string wav = Folder.Path() + "/" + name + ".wav", mp2 = Folder.Path() + "/" + name + ".mp2";
        RunShellChecked("sox -R -n " + std::string(GetParam().Sox) + " '" + wav + "' synth 1 pinknoise vol " + volume +
                        " pad 1 1");
        RunShellChecked("twolame --quiet " + std::string(GetParam().Twolame) + " '" + wav + "' '" + mp2 + "'");
        EXPECT_EQ(TRoruvoMP3(mp2).Info.Layer, 2);
        return test::OpeningEstimate(mp2);
    }
    static void RunShellChecked(const std::string& command)
    {
        ASSERT_EQ(std::system((command + " 2>/dev/null").c_str()), 0) << command;
    }
    static float Mean(const TGranuleLevels& levels, double fromMs, double toMs)
    {
        const auto first = levels.Levels.begin() + static_cast<ptrdiff_t>(fromMs / levels.MsPerGranule);
        const auto last = levels.Levels.begin() + static_cast<ptrdiff_t>(toMs / levels.MsPerGranule);
        return std::accumulate(first, last, 0.0f) / static_cast<float>(last - first);
    }
    static float Max(const TGranuleLevels& levels, double fromMs, double toMs)
    {
        return *std::max_element(levels.Levels.begin() + static_cast<ptrdiff_t>(fromMs / levels.MsPerGranule),
                                 levels.Levels.begin() + static_cast<ptrdiff_t>(toMs / levels.MsPerGranule));
    }

    test::TSoundFolder Folder;
};

TEST_P(ScalefactorFiles, SilenceQuietAndLoudWhereTheFileHasThem)
{
    const TGranuleLevels loud = Estimate("loud", "0.5");
    ASSERT_FALSE(loud.Empty());
    EXPECT_NEAR(loud.DurationMs(), 3000.0, 250.0);
    EXPECT_LT(Max(loud, 200, 800), 0.05f);
    EXPECT_LT(Max(loud, 2300, 2800), 0.05f);
    const float loudMean = Mean(loud, 1300, 1900);
    EXPECT_GT(loudMean, 0.85f);

    const TGranuleLevels quiet = Estimate("quiet", "0.016");
    EXPECT_NEAR(Mean(quiet, 1300, 1900), loudMean - 0.25f, 0.06f);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, ScalefactorFiles,
    ::testing::Values(TLayer2Format{"sb27_48k_stereo", "-r 48000 -c 2", "-b 192"},
                      TLayer2Format{"sb30_44k_stereo", "-r 44100 -c 2", "-b 256"},
                      TLayer2Format{"sb8_44k_joint", "-r 44100 -c 2", "-b 64 -m j"},
                      TLayer2Format{"sb12_32k_mono", "-r 32000 -c 1", "-b 48 -m m"},
                      TLayer2Format{"lowrate_24k_mono", "-r 24000 -c 1", "-b 64 -m m"}),
    [](const ::testing::TestParamInfo<TLayer2Format>& param) { return std::string(param.param.Name); });

} // namespace
} // namespace vivizu
