// vivizu-cli loudness and the usage errors of peaks, run as a user would.
#include "CliRunner.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <regex>

using namespace clitest;
using namespace vivizu::test;

namespace {
const std::string Fixtures = VIVIZU_FIXTURES;

double Field(const std::string& text, const std::string& key)
{
    std::smatch m;
    if (!std::regex_search(text, m, std::regex("\"?" + key + "\"?: (-?[0-9.]+|-inf|null)")))
        return -12345.0;
    return m[1] == "-inf" || m[1] == "null" ? -HUGE_VAL : std::stod(m[1]);
}
} // namespace

TEST(CliLoudness, ReportsTheStreamAndARangeInLinesAndJson)
{
    const std::string file = Fixtures + "/cbr128-tags.mp3";
    const TRun lines = RunCli({"loudness", file});
    ASSERT_EQ(lines.Exit, 0) << lines.Err;
    EXPECT_TRUE(std::regex_match(lines.Out, std::regex("StartMs: 0\nEndMs: 15[0-9][0-9]\nIntegratedLufs: -?[0-9]+\\.[0-9]{2}\n"
                                                       "LoudnessRangeLu: [0-9]+\\.[0-9]{2}\nTruePeakDbtp: -?[0-9]+\\.[0-9]{2}\n"
                                                       "SamplePeakDbfs: -?[0-9]+\\.[0-9]{2}\nTrackGainDb: -?[0-9]+\\.[0-9]{2}\n")))
        << lines.Out;
    EXPECT_NEAR(Field(lines.Out, "TrackGainDb"), -18.0 - Field(lines.Out, "IntegratedLufs"), 0.011);
    EXPECT_GE(Field(lines.Out, "TruePeakDbtp"), Field(lines.Out, "SamplePeakDbfs") - 0.01);

    // A range: frames from the first that begins at or after each time.
    const TRun json = RunCli({"loudness", "--json", "--threads", "1", file, "0.5", "1.0"});
    ASSERT_EQ(json.Exit, 0) << json.Err;
    EXPECT_EQ(json.Out.front(), '{');
    EXPECT_EQ(Field(json.Out, "StartMs"), 522.0); // frame 20 of 26.12 ms
    EXPECT_EQ(Field(json.Out, "EndMs"), 1018.0);  // frame 39
    EXPECT_NEAR(Field(json.Out, "IntegratedLufs"), Field(lines.Out, "IntegratedLufs"), 1.0);
}

TEST(CliLoudness, SilenceReadsMinusInfinityAndNullInJson)
{
    TempDir dir;
    const std::string wav = dir / "quiet.wav", mp3 = dir / "quiet.mp3";
    ASSERT_EQ(std::system(("sox -q -R -n -r 44100 -c 1 '" + wav + "' trim 0 2 && lame --quiet -b 64 '" + wav + "' '" + mp3 + "'").c_str()), 0);
    const TRun lines = RunCli({"loudness", mp3});
    EXPECT_EQ(lines.Exit, 0);
    EXPECT_NE(lines.Out.find("IntegratedLufs: -inf\n"), std::string::npos) << lines.Out;
    EXPECT_NE(lines.Out.find("TrackGainDb: 0.00\n"), std::string::npos) << lines.Out;
    const TRun json = RunCli({"loudness", "--json", mp3});
    EXPECT_NE(json.Out.find("\"IntegratedLufs\": null,"), std::string::npos) << json.Out;
}

TEST(CliLoudness, RefusesWhatItCannotMeasure)
{
    TempDir dir;
    const std::string text = dir.Write("notes.txt", TextBytes("plain text\n"));
    const TRun notMp3 = RunCli({"loudness", text});
    EXPECT_EQ(notMp3.Exit, 1);
    EXPECT_NE(notMp3.Err.find("not an MP3 stream"), std::string::npos);
    EXPECT_EQ(notMp3.Out, "");

    const std::string file = Fixtures + "/mono8k.mp3";
    EXPECT_EQ(RunCli({"loudness", file, "5:00", "6:00"}).Exit, 1); // past the end
    EXPECT_EQ(RunCli({"loudness", file, "1.0", "0.5"}).Exit, 1);   // end before start
    EXPECT_EQ(RunCli({"loudness", dir / "missing.mp3"}).Exit, 3);
    EXPECT_EQ(RunCli({"loudness", file, "0.5"}).Exit, 2);
    EXPECT_EQ(RunCli({"loudness", file, "x", "1"}).Exit, 2);
    EXPECT_EQ(RunCli({"loudness", "--threads", "0", file}).Exit, 2);
}

TEST(CliPeaks, RefusesUnusableOptions)
{
    const std::string file = Fixtures + "/mono8k.mp3";
    EXPECT_EQ(RunCli({"peaks", "--pixels-per-second", "10", "--samples-per-pixel", "10", file}).Exit, 2);
    EXPECT_EQ(RunCli({"peaks", "-b", "12", file}).Exit, 2);
    EXPECT_EQ(RunCli({"peaks", "--samples-per-pixel", "0", file}).Exit, 2);
    EXPECT_EQ(RunCli({"peaks", "-o", "out.png", file}).Exit, 2);
    const TRun mono = RunCli({"peaks", "--samples-per-pixel", "8000", "--split-channels", file});
    ASSERT_EQ(mono.Exit, 0) << mono.Err;
    // A mono stream has one channel to split into.
    EXPECT_EQ(mono.Out.rfind("{\"version\":2,\"channels\":1,\"sample_rate\":8000,\"samples_per_pixel\":8000,\"bits\":16,\"length\":2,", 0), 0u)
        << mono.Out;
}

// A stretch of damaged bytes inside a file that every decoder plays: loudness
// and peaks decode through it as libmpg123 does, on any number of threads,
// instead of stopping at the first position that holds no frame header.
TEST(CliLoudness, DecodesThroughADamagedStretch)
{
    TempDir dir;
    const std::string wav = dir / "tone.wav", mp3 = dir / "tone.mp3";
    ASSERT_EQ(std::system(("sox -q -R -n -r 44100 -c 2 '" + wav + "' synth 20 sine 300-900 vol 0.4 && lame --quiet -b 128 '" +
                           wav + "' '" + mp3 + "'")
                              .c_str()),
              0);
    Bytes bytes = ReadAll(mp3);
    ASSERT_GT(bytes.size(), 110000u);
    uint32_t noise = 12345;
    for (size_t i = 100000; i < 104000; ++i) {
        noise = noise * 1103515245u + 12345u;
        bytes[i] = static_cast<uint8_t>(noise >> 16);
    }
    const std::string damaged = dir.Write("damaged.mp3", bytes);
    std::string first;
    for (const char* threads : {"1", "2", "3"}) {
        const TRun run = RunCli({"loudness", "--threads", threads, damaged});
        ASSERT_EQ(run.Exit, 0) << threads << ": " << run.Err;
        EXPECT_NEAR(Field(run.Out, "IntegratedLufs"), -9.0, 1.0) << run.Out;
        if (first.empty())
            first = run.Out;
        EXPECT_EQ(run.Out, first) << threads;
    }
    const TRun peaks = RunCli({"peaks", "-o", dir / "damaged.json", damaged});
    EXPECT_EQ(peaks.Exit, 0) << peaks.Err;
}

// The samples players play are measured: a 0.38 s tone is too short for a
// 400 ms loudness block (the encoder's delay and padding would make one),
// a 0.42 s tone has one.
TEST(CliLoudness, MeasuresTheSamplesPlayersPlay)
{
    TempDir dir;
    for (const char* seconds : {"0.38", "0.42"}) {
        const std::string wav = dir / "t.wav", mp3 = dir / (std::string(seconds) + ".mp3");
        ASSERT_EQ(std::system(("sox -q -R -n -r 44100 -c 2 '" + wav + "' synth " + seconds + " sine 1000 vol 0.5 && lame --quiet -b 128 '" +
                               wav + "' '" + mp3 + "'")
                                  .c_str()),
                  0);
        const TRun run = RunCli({"loudness", mp3});
        ASSERT_EQ(run.Exit, 0) << run.Err;
        if (std::string(seconds) == "0.38")
            EXPECT_EQ(Field(run.Out, "IntegratedLufs"), -HUGE_VAL) << run.Out;
        else
            EXPECT_NEAR(Field(run.Out, "IntegratedLufs"), -6.5, 0.5) << run.Out;
    }
}
