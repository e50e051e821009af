// vivizu-cli cut --gain, --fade-in and --fade-out on real encoder output:
// byte for byte what mp3gain makes of the plain cut, decoded as the plain
// cut scaled, CRCs that a checking decoder accepts, fades that rise from
// silence, and the streams and values declined.
#include "CliRunner.h"
#include "engine/cut/GainTransform.h"
#include "engine/frames/MpegHeader.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>

using namespace clitest;
using namespace vivizu;
using namespace vivizu::test;

namespace {

const std::string Fixtures = VIVIZU_FIXTURES;

bool Have(const char* tool)
{
    return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

int Shell(const std::string& command) { return std::system(command.c_str()); }

std::string Quoted(const std::string& path) { return "'" + path + "'"; }

// ffmpeg's float decoding of a file, all channels interleaved; empty when it
// fails. Its CRC check and error checks are on: any fault fails the decode.
std::vector<float> Decode(const std::string& path)
{
    const std::string command = "ffmpeg -v error -err_detect crccheck+bitstream+buffer+explode -i " +
                                Quoted(path) + " -f f32le -c:a pcm_f32le - 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr)
        return {};
    std::vector<float> samples;
    float buffer[4096];
    size_t got = 0;
    while ((got = std::fread(buffer, sizeof(float), 4096, pipe)) > 0)
        samples.insert(samples.end(), buffer, buffer + got);
    return pclose(pipe) == 0 ? samples : std::vector<float>{};
}

// The encodings compared: MPEG 1 and MPEG 2, stereo, joint stereo and mono,
// with and without CRC.
struct TEncoding {
    const char* Name;
    int Rate;
    const char* Lame;
};
const TEncoding Encodings[] = {
    {"m1-stereo", 44100, "-m s -b 128"},       {"m1-joint", 44100, "-m j -b 128"},
    {"m1-mono", 44100, "-m m -b 64"},          {"m1-stereo-crc", 44100, "-m s -b 128 -p"},
    {"m1-joint-crc", 44100, "-m j -b 128 -p"}, {"m1-mono-crc", 44100, "-m m -b 64 -p"},
    {"m2-stereo", 22050, "-m s -b 64"},        {"m2-joint", 22050, "-m j -b 64"},
    {"m2-mono", 22050, "-m m -b 32"},          {"m2-joint-crc", 22050, "-m j -b 64 -p"},
    {"m2-mono-crc", 22050, "-m m -b 32 -p"},
};

class CliGain : public testing::Test {
protected:
    void SetUp() override
    {
        if (!Have("lame") || !Have("ffmpeg") || !Have("mp3gain"))
            GTEST_SKIP() << "needs lame, ffmpeg and mp3gain";
    }
    // A quiet two-channel tone with a chirp (peaks near -18 dBFS), encoded.
    std::string Encode(const TEncoding& e)
    {
        const std::string wav = Dir / (std::string(e.Name) + ".wav");
        const std::string mp3 = Dir / (std::string(e.Name) + ".mp3");
        Shell("ffmpeg -v error -y -f lavfi -i 'aevalsrc=0.08*sin(440*2*PI*t)+0.04*sin(3000*2*PI*t*t)|"
              "0.06*sin(660*2*PI*t):s=" +
              std::to_string(e.Rate) + ":d=2' -c:a pcm_s16le " + Quoted(wav));
        Shell(std::string("lame --quiet ") + e.Lame + " " + Quoted(wav) + " " + Quoted(mp3));
        return mp3;
    }
    // Sets granule 0's global_gain to 0 in every fifth frame, as encoders
    // write granules that are silent: gain must leave them at 0.
    void SilenceSomeGranules(const std::string& mp3)
    {
        Bytes bytes = ReadAll(mp3);
        TGainReport report;
        const std::array<int, 2> steps{TGainPlan::Silent, 0};
        size_t at = 0;
        for (int n = 0; at + 4 <= bytes.size(); ++n) {
            const TMpegHeader h = TMpegHeader::At(&bytes[at]);
            const size_t length = static_cast<size_t>(h.FrameLength());
            if (!h.HasSync() || length == 0 || at + length > bytes.size())
                break;
            if (n % 5 == 2) {
                ASSERT_TRUE(ApplyGain(std::span<uint8_t>(bytes).subspan(at, length), h, steps, report));
            }
            at += length;
        }
        ASSERT_GT(report.Granules, 10);
        Dir.Write(mp3.substr(mp3.rfind('/') + 1), bytes);
    }
    TempDir Dir;
};

// mp3gain -g N on a copy of the plain cut gives the same bytes as the cut
// with --gain 1.5 * N dB, CRC frames and silent granules (global_gain 0)
// included, for N from -8 to 8.
TEST_F(CliGain, SameBytesAsMp3gain)
{
    for (const TEncoding& e : Encodings) {
        SCOPED_TRACE(e.Name);
        const std::string source = Encode(e);
        SilenceSomeGranules(source);
        const std::string plain = Dir / "plain.mp3";
        ASSERT_EQ(RunCli({"cut", "--no-tag", source, plain, "200", "1700"}).Exit, 0);
        const Bytes plainBytes = ReadAll(plain);
        ASSERT_GT(plainBytes.size(), 1000u);
        for (int n = -8; n <= 8; ++n) {
            if (n == 0)
                continue;
            SCOPED_TRACE(n);
            const std::string peer = Dir / "peer.mp3", ours = Dir / "ours.mp3";
            Shell("cp " + Quoted(plain) + " " + Quoted(peer) + " && mp3gain -q -s s -c -g " + std::to_string(n) +
                  " " + Quoted(peer) + " >/dev/null 2>&1");
            char db[16];
            std::snprintf(db, sizeof db, "%.1f", 1.5 * n);
            const TRun run = RunCli({"cut", "--no-tag", "--gain", db, source, ours, "200", "1700"});
            ASSERT_EQ(run.Exit, 0) << run.Err;
            EXPECT_NE(run.Out.find("gain: " + std::to_string(n) + " steps of 1.5 dB"), std::string::npos) << run.Out;
            const Bytes peerBytes = ReadAll(peer);
            ASSERT_NE(peerBytes, plainBytes);
            EXPECT_EQ(ReadAll(ours), peerBytes);
        }
    }
}

// The decode of a cut with gain is the plain cut's decode times 2^(N/4)
// (a step is 1.505 dB: 2^(1/4) in amplitude) within float rounding, and
// within 1 % of 10^(dB/20) for the printed dB; every output decodes with
// the decoder's CRC and bitstream checks on.
TEST_F(CliGain, DecodesAsThePlainCutScaled)
{
    for (const TEncoding& e : {Encodings[1], Encodings[3], Encodings[10]}) {
        SCOPED_TRACE(e.Name);
        const std::string source = Encode(e);
        const std::string plain = Dir / "plain.mp3";
        ASSERT_EQ(RunCli({"cut", "--no-tag", source, plain, "0", "1500"}).Exit, 0);
        const std::vector<float> reference = Decode(plain);
        ASSERT_FALSE(reference.empty());
        float peak = 0;
        for (float s : reference)
            peak = std::max(peak, std::abs(s));
        for (int n : {-8, -3, 1, 4, 6}) {
            SCOPED_TRACE(n);
            const std::string ours = Dir / "ours.mp3";
            ASSERT_EQ(RunCli({"cut", "--no-tag", "--gain", std::to_string(1.5 * n), source, ours, "0", "1500"}).Exit,
                      0);
            const std::vector<float> gained = Decode(ours);
            ASSERT_EQ(gained.size(), reference.size());
            const double factor = std::pow(2.0, n / 4.0);
            ASSERT_LT(peak * factor, 1.0); // nothing clips
            double worst = 0;
            for (size_t i = 0; i < gained.size(); ++i)
                worst = std::max(worst, std::abs(gained[i] - reference[i] * factor));
            EXPECT_LT(worst, 1e-5 * factor) << "largest difference";
            EXPECT_NEAR(factor / std::pow(10.0, 1.5 * n / 20.0), 1.0, 0.01);
        }
    }
}

// The fades decode as silence at the ends and rise (fall) to the plain
// level; the middle is the plain cut's; with --exact they are measured
// within what players keep, and the output still decodes to its samples.
TEST_F(CliGain, FadesRiseFromSilence)
{
    const std::string source = Encode(Encodings[1]);
    const std::string plain = Dir / "plain.mp3", faded = Dir / "faded.mp3";
    ASSERT_EQ(RunCli({"cut", "--no-tag", source, plain, "0", "1800"}).Exit, 0);
    ASSERT_EQ(RunCli({"cut", "--no-tag", "--fade-in", "0.5", "--fade-out", "400", source, faded, "0", "1800"}).Exit,
              0);
    const std::vector<float> p = Decode(plain), f = Decode(faded);
    ASSERT_EQ(p.size(), f.size());
    // RMS per granule of 576 stereo samples.
    const auto rms = [](const std::vector<float>& s, size_t granule) {
        double sum = 0;
        for (size_t i = granule * 1152; i < (granule + 1) * 1152 && i < s.size(); ++i)
            sum += double{s[i]} * s[i];
        return std::sqrt(sum / 1152);
    };
    const size_t granules = p.size() / 1152;
    const size_t fadeIn = 38; // 0.5 s of 576-sample granules at 44.1 kHz
    // The silent granule, and the one after it that overlaps it, at least
    // 80 dB down.
    EXPECT_LT(rms(f, 0), rms(p, 0) * 1e-4);
    EXPECT_LT(rms(f, 1), rms(p, 1) * 1e-4);
    EXPECT_LT(rms(f, granules - 1), rms(p, granules - 1) * 1e-4);
    for (size_t g = fadeIn + 2; g + 40 < granules; ++g)
        EXPECT_NEAR(rms(f, g), rms(p, g), 1e-6) << g;
    // The level in dB relative to the plain cut climbs across the fade-in.
    double previous = -200;
    for (size_t g = 4; g < fadeIn; g += 6) {
        const double db = 20 * std::log10(std::max(rms(f, g), 1e-12) / rms(p, g));
        EXPECT_GT(db, previous) << g;
        const double ideal = -90.0 * static_cast<double>(fadeIn - 1 - g) / static_cast<double>(fadeIn - 1);
        EXPECT_NEAR(db, ideal, 4.0) << g;
        previous = db;
    }

    // With --exact: the played samples (one second exactly) begin at the
    // fade-in's silent granule and end at the fade-out's, and between the
    // fades (0.2 s, 15 granules each) they are the exact cut's with the gain.
    const std::string exact = Dir / "exact.mp3", exactPlain = Dir / "exact-plain.mp3";
    ASSERT_EQ(RunCli({"cut", "--no-tag", "--exact", "--gain", "-3", "--fade-in", "0.2", "--fade-out", "0.2", source,
                      exact, "250", "1250"})
                  .Exit,
              0);
    ASSERT_EQ(RunCli({"cut", "--no-tag", "--exact", "--gain", "-3", source, exactPlain, "250", "1250"}).Exit, 0);
    const std::vector<float> e = Decode(exact), ep = Decode(exactPlain);
    EXPECT_EQ(e.size(), 44100u * 2); // both channels
    ASSERT_EQ(e.size(), ep.size());
    const size_t played = e.size() / 1152;
    EXPECT_LT(rms(e, 0), rms(ep, 0) * 1e-4);
    // The last granule is silent, but decoders overlap it with the one
    // before, 84 dB down.
    EXPECT_LT(rms(e, played - 1), rms(ep, played - 1) * 3e-4);
    // Granule 8 of 15 lies 26 steps below full, about -39 dB; the decoder's
    // overlap of neighbouring granules moves that by up to a granule (4 steps).
    EXPECT_NEAR(20 * std::log10(rms(e, 8) / rms(ep, 8)), -39.0, 7.0);
    for (size_t g = 17; g + 17 < played; ++g)
        EXPECT_NEAR(rms(e, g), rms(ep, g), 1e-6) << g;
}

// Layer II is declined with its reason and nothing written; values that
// are not decibels or times are usage errors; no gain and no fade leave
// the cut as it was.
TEST_F(CliGain, DeclinedAndDefault)
{
    const std::string out = Dir / "out.mp3";
    TRun run = RunCli({"cut", "--gain", "3", Fixtures + "/layer2-48k.mp3", out, "0", "500"});
    EXPECT_EQ(run.Exit, 1);
    EXPECT_NE(run.Err.find("Layer III"), std::string::npos) << run.Err;
    EXPECT_FALSE(Exists(out));
    EXPECT_EQ(RunCli({"cut", "--fade-in", "1", Fixtures + "/layer2-48k.mp3", out, "0", "500"}).Exit, 1);
    // One gain range for window and companion: up to 60 dB either way.
    for (const char* bad : {"loud", "", "1e3", "++3", "400", "+300", "60.5", "-61"})
        EXPECT_EQ(RunCli({"cut", "--gain", bad, Fixtures + "/cbr128-tags.mp3", out, "0", "500"}).Exit, 2) << bad;
    EXPECT_EQ(RunCli({"cut", "--fade-out", "soon", Fixtures + "/cbr128-tags.mp3", out, "0", "500"}).Exit, 2);

    const std::string a = Dir / "a.mp3", b = Dir / "b.mp3";
    ASSERT_EQ(RunCli({"cut", Fixtures + "/cbr128-tags.mp3", a, "100", "900"}).Exit, 0);
    run = RunCli({"cut", "--gain", "0.5", "--fade-in", "0", Fixtures + "/cbr128-tags.mp3", b, "100", "900"});
    ASSERT_EQ(run.Exit, 0);
    EXPECT_EQ(run.Out, "gain: 0 steps of 1.5 dB (+0.0 dB)\n"); // the step used, even none
    EXPECT_EQ(ReadAll(a), ReadAll(b));
    // Held at the loudest setting (the most gain and a loud target on top):
    // counted and said.
    run = RunCli({"cut", "--gain", "+60", "--normalize=0", "--allow-clipping", Fixtures + "/cbr128-tags.mp3", b,
                  "100", "900"});
    ASSERT_EQ(run.Exit, 0);
    EXPECT_NE(run.Out.find("held at it"), std::string::npos) << run.Out;
}

// Fades that together last longer than the cut would overlap and leave it
// nearly silent: refused with the lengths asked and the cut's, nothing
// written; fades that just fit are written.
TEST_F(CliGain, FadesLongerThanTheCutAreRefused)
{
    const std::string source = Fixtures + "/cbr128-tags.mp3", out = Dir / "out.mp3";
    struct TCase {
        std::vector<std::string> Fades;
        const char* Said;
    };
    const TCase cases[] = {
        {{"--fade-in", "2.0"}, "the fade-in of 2.000 s lasts longer than the"},
        {{"--fade-out", "1.5"}, "the fade-out of 1.500 s lasts longer"},
        {{"--fade-in", "600", "--fade-out", "600"}, "the fades (0.600 s in, 0.600 s out) last longer"},
    };
    for (const TCase& c : cases) {
        std::vector<std::string> args{"cut", "--no-tag"};
        args.insert(args.end(), c.Fades.begin(), c.Fades.end());
        args.insert(args.end(), {source, out, "0", "1000"});
        const TRun run = RunCli(args);
        EXPECT_EQ(run.Exit, 1) << c.Said;
        EXPECT_NE(run.Err.find(c.Said), std::string::npos) << run.Err;
        EXPECT_NE(run.Err.find("shorter"), std::string::npos) << run.Err;
        EXPECT_FALSE(Exists(out));
    }
    EXPECT_EQ(RunCli({"cut", "--no-tag", "--fade-in", "400", "--fade-out", "400", source, out, "0", "1000"}).Exit, 0);
    EXPECT_TRUE(Exists(out));
}

} // namespace
