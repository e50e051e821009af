// Loudness of tones of known level against ffmpeg's EBU R128 meter, and the
// silences of a synthetic recording with pauses at known places.
#include "SoundFiles.h"
#include "engine/decode/Loudness.h"
#include "engine/decode/Silence.h"

#include <gtest/gtest.h>

#include <cmath>
#include <regex>

namespace vivizu {
namespace {

using test::WalkAudioFrameStarts;

struct TPeerFigures {
    double I = NAN, Lra = NAN, TruePeak = NAN;
};

// The summary of ffmpeg's ebur128 filter over the whole file.
TPeerFigures Ffmpeg(const std::string& file)
{
    const std::string text = test::RunShell("ffmpeg -nostats -hide_banner -i '" + file
                                            + "' -af ebur128=peak=true -f null - 2>&1");
    const auto summary = text.rfind("Summary:");
    TPeerFigures f;
    if (summary == std::string::npos)
        return f;
    const std::string s = text.substr(summary);
    std::smatch m;
    if (std::regex_search(s, m, std::regex(R"(I:\s+(-?[0-9.]+) LUFS)"))) f.I = std::stod(m[1]);
    if (std::regex_search(s, m, std::regex(R"(LRA:\s+(-?[0-9.]+) LU)"))) f.Lra = std::stod(m[1]);
    if (std::regex_search(s, m, std::regex(R"(Peak:\s+(-?[0-9.]+) dBFS)"))) f.TruePeak = std::stod(m[1]);
    return f;
}

TLoudness Measure(const std::string& file, unsigned threads, size_t chunkFrames = 0)
{
    const std::vector<int64_t> starts = WalkAudioFrameStarts(file);
    TDecodeOptions options;
    options.Threads = threads;
    options.ChunkFrames = chunkFrames;
    const TLoudnessResult r = MeasureLoudness(file, {starts, 0, starts.size() - 1}, options);
    EXPECT_EQ(r.Result.Status, TDecodeStatus::Done) << r.Result.Message;
    return r.Loudness;
}

TEST(Loudness, ToneOfKnownLevelMeasuresAsFfmpegDoes)
{
    test::TSoundFolder folder;
    // A 1 kHz sine in both channels reads as many LUFS as its peak has
    // dBFS (the reference of the standard).
    const std::string tone = folder.Mp3("tone", "synth 20 sine 1000 gain -20 channels 2 rate 44100", "-b 192");
    const TLoudness l = Measure(tone, 2);
    EXPECT_NEAR(l.SamplePeakDbfs, -20.0, 0.3);
    EXPECT_NEAR(l.IntegratedLufs, l.SamplePeakDbfs, 0.1);
    EXPECT_NEAR(l.TrackGainDb, -18.0 - l.IntegratedLufs, 1e-9);
    const TPeerFigures peer = Ffmpeg(tone);
    EXPECT_NEAR(l.IntegratedLufs, peer.I, 0.1);
    EXPECT_NEAR(l.TruePeakDbtp, peer.TruePeak, 0.2);
    EXPECT_NEAR(l.RangeLu, peer.Lra, 0.2);

    // Music-like levels that change: in chunks on 3 threads as in one.
    const std::string steps = folder.Mp3(
        "steps", "synth 40 pinknoise synth 40 sine amod 0.2 40 channels 2 rate 44100 gain -6", "-V 2");
    const TLoudness joined = Measure(steps, 3);
    const TLoudness one = Measure(steps, 1, 1 << 20);
    const TPeerFigures stepsPeer = Ffmpeg(steps);
    EXPECT_NEAR(one.IntegratedLufs, stepsPeer.I, 0.1);
    EXPECT_NEAR(one.RangeLu, stepsPeer.Lra, 0.3);
    EXPECT_NEAR(joined.IntegratedLufs, one.IntegratedLufs, 0.1);
    EXPECT_NEAR(joined.RangeLu, one.RangeLu, 0.5);
    EXPECT_EQ(joined.SamplePeakDbfs, one.SamplePeakDbfs);
}

// Every figure of one range, the same for any thread count; the true peak
// also as a measurement of the range in one piece gives it.
void ExpectSameForAnyThreadCount(const std::string& file, size_t chunkFrames)
{
    const TLoudness whole = Measure(file, 1, 1 << 20);
    const TLoudness one = Measure(file, 1, chunkFrames);
    EXPECT_NEAR(one.TruePeakDbtp, whole.TruePeakDbtp, 1e-3) << file;
    EXPECT_EQ(one.SamplePeakDbfs, whole.SamplePeakDbfs) << file;
    for (const unsigned threads : {2u, 3u, 4u}) {
        const TLoudness l = Measure(file, threads, chunkFrames);
        EXPECT_EQ(l.TruePeakDbtp, one.TruePeakDbtp) << file << " on " << threads << " threads";
        EXPECT_EQ(l.SamplePeakDbfs, one.SamplePeakDbfs) << file << " on " << threads << " threads";
        EXPECT_EQ(l.IntegratedLufs, one.IntegratedLufs) << file << " on " << threads << " threads";
        EXPECT_EQ(l.RangeLu, one.RangeLu) << file << " on " << threads << " threads";
    }
}

TEST(Loudness, FiguresDoNotDependOnTheThreadCount)
{
    test::TSoundFolder folder;
    // A minute of a steady sine: a chunk's meter that starts without the
    // samples before it sees a step there, whose ringing reads as a true
    // peak 0.7 dB too high.
    const std::string tone = folder.Mp3("sine", "synth 70 sine 440 gain -6 channels 2 rate 44100", "-b 128");
    ExpectSameForAnyThreadCount(tone, 0);
    ExpectSameForAnyThreadCount(std::string(VIVIZU_FIXTURES) + "/stereo-notag.mp3", 16);
    ExpectSameForAnyThreadCount(std::string(VIVIZU_FIXTURES) + "/mono22k.mp3", 8);
}

// Ranges measured together are heard as one: a file's halves together give
// the whole file's figures (give or take the gating blocks at the seam), a
// quiet and a loud file together lie between them, and ranges with no frame
// add nothing.
TEST(Loudness, RangesMeasuredTogetherAreOneMeasurement)
{
    test::TSoundFolder folder;
    const std::string steps = folder.Mp3(
        "steps", "synth 30 pinknoise synth 30 sine amod 0.2 30 channels 2 rate 44100 gain -6", "-V 2");
    const std::string quiet = folder.Mp3("quiet", "synth 10 sine 440 gain -28 channels 2 rate 44100", "-b 128");
    const std::vector<int64_t> s = WalkAudioFrameStarts(steps), q = WalkAudioFrameStarts(quiet);
    const size_t end = s.size() - 1, mid = end / 2;
    TDecodeOptions options;
    options.ChunkFrames = 1 << 20;
    const TLoudnessResult whole = MeasureLoudness(steps, {s, 0, end}, options);
    const std::vector<TLoudnessPart> halves{{steps, {s, 0, mid}}, {steps, {s, mid, end}}, {quiet, {q, 5, 5}}};
    const TLoudnessResult together = MeasureLoudnessTogether(halves, options);
    ASSERT_EQ(together.Result.Status, TDecodeStatus::Done) << together.Result.Message;
    EXPECT_NEAR(together.Loudness.IntegratedLufs, whole.Loudness.IntegratedLufs, 0.1);
    EXPECT_NEAR(together.Loudness.RangeLu, whole.Loudness.RangeLu, 0.5);
    EXPECT_EQ(together.Loudness.SamplePeakDbfs, whole.Loudness.SamplePeakDbfs);

    const TLoudnessResult alone = MeasureLoudness(quiet, {q, 0, q.size() - 1}, options);
    const std::vector<TLoudnessPart> both{{quiet, {q, 0, q.size() - 1}}, {steps, {s, 0, end}}};
    const TLoudness mixed = MeasureLoudnessTogether(both, options).Loudness;
    EXPECT_GT(mixed.IntegratedLufs, alone.Loudness.IntegratedLufs + 3);
    EXPECT_LT(mixed.IntegratedLufs, whole.Loudness.IntegratedLufs);
    EXPECT_EQ(mixed.TruePeakDbtp, std::max(alone.Loudness.TruePeakDbtp, whole.Loudness.TruePeakDbtp));

    const std::vector<TLoudnessPart> empty{{quiet, {q, 3, 3}}, {steps, {s, 7, 7}}};
    EXPECT_EQ(MeasureLoudnessTogether(empty, options).Result.Status, TDecodeStatus::EmptyRange);
}

TEST(Loudness, SilenceHasNoLoudnessAndNoGain)
{
    test::TSoundFolder folder;
    const TLoudness l = Measure(folder.Mp3("quiet", "synth 3 sine 440 gain -200 channels 1 rate 44100", "-b 64"), 2);
    EXPECT_TRUE(std::isinf(l.IntegratedLufs));
    EXPECT_TRUE(std::isinf(l.SamplePeakDbfs));
    EXPECT_EQ(l.TrackGainDb, 0.0);
}

TEST(Silence, FindsThePausesOfASyntheticRecording)
{
    test::TSoundFolder folder;
    // tone 3 s | silence 2 s | tone 2 s | silence 0.6 s | tone 2 s |
    // noise 1.5 s at about -52 dBFS RMS | tone 2 s
    const std::string wav = folder.Path() + "/album.wav";
    const std::string make =
        "cd '" + folder.Path() + "' && "
        "sox -q -R -n -r 44100 -c 2 t3.wav synth 3 sine 440 gain -12 && "
        "sox -q -R -n -r 44100 -c 2 t2.wav synth 2 sine 660 gain -12 && "
        "sox -q -R -n -r 44100 -c 2 s2.wav trim 0 2 && "
        "sox -q -R -n -r 44100 -c 2 s06.wav trim 0 0.6 && "
        "sox -q -R -n -r 44100 -c 2 n15.wav synth 1.5 whitenoise gain -46 && "
        "sox -q t3.wav s2.wav t2.wav s06.wav t2.wav n15.wav t2.wav album.wav && "
        "lame --quiet -b 128 album.wav album.mp3";
    ASSERT_EQ(std::system(make.c_str()), 0);
    const std::string mp3 = folder.Path() + "/album.mp3";
    const std::vector<int64_t> starts = WalkAudioFrameStarts(mp3);
    TDecodeOptions options;
    options.ChunkFrames = 16;
    const TLevels levels = DecodeLevels(mp3, {starts, 0, starts.size() - 1}, 441, options);
    ASSERT_EQ(levels.Result.Status, TDecodeStatus::Done);
    const std::vector<TSilence> found = FindSilences(levels.Blocks, 44100);
    ASSERT_EQ(found.size(), 2u);
    // LAME's encoder delay moves everything by about 1105 samples (25 ms).
    const auto seconds = [](int64_t samples) { return static_cast<double>(samples) / 44100.0; };
    EXPECT_NEAR(seconds(found[0].Start), 3.0, 0.05);
    EXPECT_NEAR(seconds(found[0].End), 5.0, 0.05);
    EXPECT_LT(found[0].LevelDb, -80.0);
    EXPECT_NEAR(seconds(found[1].Start), 9.6, 0.05);
    EXPECT_NEAR(seconds(found[1].End), 11.1, 0.05);
    EXPECT_GT(found[1].LevelDb, -56.0);
    EXPECT_LT(found[1].LevelDb, -48.0);

    // The short pause counts with a shorter minimum; a lower threshold
    // leaves out the noise.
    EXPECT_EQ(FindSilences(levels.Blocks, 44100, {-48.0, 0.5}).size(), 3u);
    EXPECT_EQ(FindSilences(levels.Blocks, 44100, {-60.0, 1.0}).size(), 1u);
}

TEST(Silence, OneLoudChannelIsNoSilence)
{
    std::vector<TLevelBlock> blocks(200);
    for (size_t i = 0; i < blocks.size(); ++i) {
        blocks[i].Start = static_cast<int64_t>(i) * 441;
        blocks[i].Count = 441;
        blocks[i].Channel[1].Rms = i >= 50 && i < 150 ? 0.5f : 0.0f;
    }
    const auto found = FindSilences(blocks, 44100, {-48.0, 0.4});
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].Start, 0);
    EXPECT_EQ(found[0].End, 50 * 441);
    EXPECT_EQ(found[1].Start, 150 * 441);
    EXPECT_EQ(found[1].End, 200 * 441);
}

} // namespace
} // namespace vivizu
