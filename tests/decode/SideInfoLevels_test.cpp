// The side-information estimate on files with known silences and tones:
// silent stretches read as silent, tones as loud, a quiet tone below a loud
// one, for MPEG-1, 2 and 2.5, mono and stereo, at several bit rates.
#include "SoundFiles.h"
#include "engine/RoruvoMp3.h"
#include "engine/decode/SideInfoLevels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>

namespace vivizu {
namespace {

TGranuleLevels Estimate(const std::string& file)
{
    return test::OpeningEstimate(file);
}

// The largest and the mean level of the granules from fromMs to toMs.
std::pair<float, float> LevelsBetween(const TGranuleLevels& levels, double fromMs, double toMs)
{
    const auto first = static_cast<size_t>(fromMs / levels.MsPerGranule);
    const auto last = std::min(levels.Levels.size(), static_cast<size_t>(toMs / levels.MsPerGranule));
    EXPECT_LT(first, last);
    const auto begin = levels.Levels.begin() + static_cast<ptrdiff_t>(first);
    const auto end = levels.Levels.begin() + static_cast<ptrdiff_t>(last);
    const float mean = std::accumulate(begin, end, 0.0f) / static_cast<float>(last - first);
    return {*std::max_element(begin, end), mean};
}

struct TFormat {
    const char* Name;
    const char* Sox;  // rate and channels
    const char* Lame; // rate of the stream
};

class SideInfoLevels : public ::testing::TestWithParam<TFormat> {};

// One second of silence, one of loud pink noise, one of silence, and the
// same with the noise 30 dB lower. The encoder's delay and the granules at the edges are
// kept out of the measured stretches.
TEST_P(SideInfoLevels, SilencesAndTonesWhereTheFileHasThem)
{
    test::TSoundFolder folder;
    const TFormat format = GetParam();
    const std::string loud = folder.Mp3(std::string(format.Name) + "-loud",
                                        "synth 1 pinknoise vol 0.5 pad 1 1 " + std::string(format.Sox),
                                        format.Lame);
    const std::string quiet = folder.Mp3(std::string(format.Name) + "-quiet",
                                         "synth 1 pinknoise vol 0.016 pad 1 1 " + std::string(format.Sox),
                                         format.Lame);
    const TGranuleLevels levels = Estimate(loud);
    ASSERT_FALSE(levels.Empty());
    EXPECT_NEAR(levels.DurationMs(), 3000.0, 250.0);

    const auto [silentMax, silentMean] = LevelsBetween(levels, 200, 800);
    const auto [toneMax, toneMean] = LevelsBetween(levels, 1300, 1900);
    const auto [afterMax, afterMean] = LevelsBetween(levels, 2300, 2800);
    EXPECT_LT(silentMax, 0.05f);
    EXPECT_LT(afterMax, 0.05f);
    EXPECT_GT(toneMean, 0.8f);
    EXPECT_GT(toneMax, silentMax + 0.7f);

    const TGranuleLevels quietLevels = Estimate(quiet);
    const auto [quietMax, quietMean] = LevelsBetween(quietLevels, 1300, 1900);
    // 30 dB lower reads about 30/120 lower, and well above silence.
    EXPECT_NEAR(quietMean, toneMean - 0.25f, 0.08f);
    EXPECT_GT(quietMean, LevelsBetween(quietLevels, 200, 800).second + 0.4f);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, SideInfoLevels,
    ::testing::Values(TFormat{"mpeg1-stereo-128", "channels 2 rate 44100", "-b 128"},
                      TFormat{"mpeg1-mono-vbr", "channels 1 rate 48000", "-V 4"},
                      TFormat{"mpeg2-stereo-64", "channels 2 rate 22050", "-b 64"},
                      TFormat{"mpeg25-mono-32", "channels 1 rate 11025", "-b 32"}),
    [](const ::testing::TestParamInfo<TFormat>& param) {
        std::string name = param.param.Name;
        std::replace(name.begin(), name.end(), '-', '_');
        return name;
    });

TEST(SideInfoLevelsGranule, NoSpectralBitsIsSilenceAndGainRaisesTheLevel)
{
    EXPECT_EQ(DbToUnitLevel(SideInfoGranuleDb(210, 0)), 0.0f);
    EXPECT_EQ(DbToUnitLevel(SideInfoGranuleDb(-1, 500)), 0.0f);
    EXPECT_NEAR(SideInfoGranuleDb(170, 800) - SideInfoGranuleDb(150, 800), 30.0, 1e-9);
    EXPECT_LT(SideInfoGranuleDb(170, 100), SideInfoGranuleDb(170, 2000));
    EXPECT_EQ(DbToUnitLevel(0.0), 1.0f);
}

// Frames of another layer or cut short give zero levels, one per granule,
// and never read past the bytes they are given.
TEST(SideInfoLevelsGranule, ShortOrForeignFramesGiveZeros)
{
    std::vector<float> levels;
    const TMpegHeader layer3(0xFFFB9064u); // MPEG-1 Layer III 128 kbit/s 44.1 kHz stereo
    const std::vector<uint8_t> header{0xFF, 0xFB, 0x90, 0x64};
    AppendFrameLevels(header, layer3, levels);
    ASSERT_EQ(levels.size(), 2u);
    EXPECT_EQ(levels[0], 0.0f);
    const TMpegHeader layer2(0xFFFD9064u);
    AppendFrameLevels(header, layer2, levels);
    EXPECT_EQ(levels.size(), 4u);
}

// The estimate the opening walk gathers equals a second read of every frame,
// on files with tags, header frames, leading zeros, an APE tag, Layer II,
// VBR, mono and low rates: one level per granule, none for header frames.
TEST(SideInfoLevels, OpeningWalkGathersTheSameEstimateAsASecondRead)
{
    for (const char* name : {"cbr128-tags.mp3", "ffmpeg-ape.mp3", "layer2-48k.mp3", "leading-zeros.mp3",
                             "mono22k.mp3", "mono8k.mp3", "stereo-notag.mp3", "vbr48k.mp3"}) {
        const std::string file = std::string(VIVIZU_FIXTURES) + "/" + name;
        const TGranuleLevels levels = test::OpeningEstimate(file);
        TRoruvoMP3 mp3(file);
        const TMpegHeader first = mp3.Index().HeaderOf(0);
        EXPECT_EQ(levels.Levels.size(), mp3.Index().Count() * static_cast<size_t>(first.Granules())) << name;
    }
    // Without the option, or without the length walk, nothing is gathered.
    TRoruvoMP3 plain(std::string(VIVIZU_FIXTURES) + "/cbr128-tags.mp3");
    EXPECT_TRUE(plain.LevelEstimate().Empty());
    TRoruvoMP3 cutOnly;
    cutOnly.EstimateLevels = true;
    cutOnly.LoadFile(std::string(VIVIZU_FIXTURES) + "/cbr128-tags.mp3", false);
    EXPECT_TRUE(cutOnly.LevelEstimate().Empty());
}

} // namespace
} // namespace vivizu
