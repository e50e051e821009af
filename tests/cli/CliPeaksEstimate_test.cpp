// vivizu-cli peaks --estimate: waveform data from the side information of a
// file of silence, noise and silence; the pixels of the silences near zero,
// those of the noise high, as many pixels as the decoded waveform has.
#include "CliRunner.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <regex>

using namespace clitest;

namespace {

std::vector<int> JsonData(const std::string& json)
{
    std::vector<int> data;
    const auto at = json.find("\"data\":[");
    if (at == std::string::npos)
        return data;
    const std::string list = json.substr(at + 8, json.find(']', at) - at - 8);
    const std::regex number("-?[0-9]+");
    for (auto it = std::sregex_iterator(list.begin(), list.end(), number); it != std::sregex_iterator(); ++it)
        data.push_back(std::stoi(it->str()));
    return data;
}

TEST(CliPeaksEstimate, SilenceLowToneHighAndTheDecodesLength)
{
    const auto dir = std::filesystem::temp_directory_path() / ("vivizu-peaks-est-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string wav = (dir / "src.wav").string(), mp3 = (dir / "src.mp3").string();
    const std::string make = "sox -q -R -n -r 44100 -c 2 '" + wav + "' synth 1 pinknoise vol 0.5 pad 1 1 && lame --quiet -b 128 '" +
                             wav + "' '" + mp3 + "'";
    ASSERT_EQ(std::system(make.c_str()), 0);

    // 4410 samples a pixel: ten pixels a second.
    const TRun estimate = RunCli({"peaks", "--estimate", "--samples-per-pixel", "4410", mp3});
    ASSERT_EQ(estimate.Exit, 0) << estimate.Err;
    EXPECT_NE(estimate.Out.find("\"version\":2"), std::string::npos) << estimate.Out;
    EXPECT_NE(estimate.Out.find("\"samples_per_pixel\":4410"), std::string::npos);
    const std::vector<int> data = JsonData(estimate.Out);
    const TRun decoded = RunCli({"peaks", "--samples-per-pixel", "4410", mp3});
    ASSERT_EQ(decoded.Exit, 0) << decoded.Err;
    EXPECT_EQ(data.size(), JsonData(decoded.Out).size());
    ASSERT_GE(data.size(), 58u);
    for (size_t pixel = 2; pixel < 8; ++pixel) {
        EXPECT_LT(data[2 * pixel + 1], 1000) << "silence at pixel " << pixel;
        EXPECT_EQ(data[2 * pixel], -data[2 * pixel + 1]);
    }
    for (size_t pixel = 13; pixel < 19; ++pixel)
        EXPECT_GT(data[2 * pixel + 1], 3000) << "noise at pixel " << pixel;
    for (size_t pixel = 23; pixel < 28; ++pixel)
        EXPECT_LT(data[2 * pixel + 1], 1000) << "silence at pixel " << pixel;

    const std::string dat = (dir / "out.dat").string();
    EXPECT_EQ(RunCli({"peaks", "--estimate", "-o", dat, mp3}).Exit, 0);
    EXPECT_GT(std::filesystem::file_size(dat), 24u);
    std::filesystem::remove_all(dir);
}

// Both waveforms hold the samples gapless players play: a tone of exactly
// two seconds (88,200 samples) gives 200 pixels of 441 samples, the first
// and the last loud, not the encoder's delay (25 ms of near silence) in
// front and its padding behind. A stream without LAME's header frame keeps
// every decoded sample: nothing says what to leave out.
TEST(CliPeaksEstimate, WaveformsLeaveOutTheEncodersDelayAndPadding)
{
    const auto dir = std::filesystem::temp_directory_path() / ("vivizu-peaks-gapless-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string wav = (dir / "src.wav").string(), mp3 = (dir / "src.mp3").string();
    const std::string bare = (dir / "bare.mp3").string();
    const std::string make = "sox -R -q -n -r 44100 -c 2 '" + wav + "' synth 2 sine 440 vol 0.5 && lame --quiet -b 128 '" +
                             wav + "' '" + mp3 + "' && lame --quiet -t -b 128 '" + wav + "' '" + bare + "'";
    ASSERT_EQ(std::system(make.c_str()), 0);

    for (const bool estimate : {false, true}) {
        std::vector<std::string> args{"peaks", "--samples-per-pixel", "441", mp3};
        if (estimate)
            args.insert(args.begin() + 1, "--estimate");
        const TRun run = RunCli(args);
        ASSERT_EQ(run.Exit, 0) << run.Err;
        EXPECT_NE(run.Out.find("\"length\":200"), std::string::npos) << "estimate " << estimate;
        const std::vector<int> data = JsonData(run.Out);
        ASSERT_EQ(data.size(), 400u) << "estimate " << estimate;
        EXPECT_GT(data[1], 10000) << "the first pixel is the tone's, estimate " << estimate;
        EXPECT_GT(data[399], 3000) << "the last pixel is the tone's, estimate " << estimate;
    }
    // Without a header frame: every frame's samples, 1,152 a frame.
    const TRun untrimmed = RunCli({"peaks", "--samples-per-pixel", "1152", bare});
    ASSERT_EQ(untrimmed.Exit, 0) << untrimmed.Err;
    EXPECT_GT(JsonData(untrimmed.Out).size() / 2, 77u) << "88,200 samples and the delay fill more than 77 frames";
    std::filesystem::remove_all(dir);
}

} // namespace
