// vivizu-cli cut --normalize on sox tones of known level encoded with LAME:
// the output measured back with libebur128 lies within 0.8 LU of the target
// and its true peak at or below -1 dBTP, unless clipping is allowed; the
// measured loudness and the steps are printed; wrong values are refused;
// a batch into a folder normalises each file on its own.
#include "CliRunner.h"
#include "engine/RoruvoMp3.h"
#include "engine/decode/Loudness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <regex>

using namespace clitest;
using namespace vivizu;
using namespace vivizu::test;

namespace {

const std::string Fixtures = VIVIZU_FIXTURES;

bool Have(const char* tool)
{
    return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

TLoudness MeasureFile(const std::string& file)
{
    TRoruvoMP3 mp3;
    mp3.LoadFile(file);
    const TFrameIndex& index = mp3.Index();
    const TLoudnessResult r = MeasureLoudness(file, {index, 0, mp3.Valid ? index.Count() : 0}, {});
    EXPECT_EQ(r.Result.Status, TDecodeStatus::Done) << r.Result.Message;
    return r.Loudness;
}

int PrintedSteps(const std::string& out)
{
    std::smatch m;
    if (!std::regex_search(out, m, std::regex(R"(normalize: (-?[0-9]+) steps)")))
        return 1000;
    return std::stoi(m[1]);
}

class CliNormalize : public testing::Test {
protected:
    void SetUp() override
    {
        if (!Have("sox") || !Have("lame"))
            GTEST_SKIP() << "needs sox and lame";
    }
    // A 1 kHz stereo sine of amplitude volume, 8 seconds, at 128 kbit/s.
    std::string Tone(const std::string& name, const std::string& volume)
    {
        const std::string wav = Dir / (name + ".wav"), mp3 = Dir / (name + ".mp3");
        EXPECT_EQ(std::system(("sox -n -r 44100 -c 2 -b 16 '" + wav + "' synth 8 sine 1000 vol " + volume).c_str()),
                  0);
        EXPECT_EQ(std::system(("lame --quiet -b 128 '" + wav + "' '" + mp3 + "'").c_str()), 0);
        return mp3;
    }
    TempDir Dir;
};

// Quiet tones raised (and a loud one lowered) to several targets.
TEST_F(CliNormalize, ReachesTheTargetWithinAStep)
{
    struct TCase {
        const char* Volume;
        const char* Option;
        double Target;
    };
    for (const TCase& c : {TCase{"0.05", "--normalize", -18.0}, TCase{"0.02", "--normalize=-23", -23.0},
                           TCase{"0.2", "--normalize=-16", -16.0}, TCase{"0.7", "--normalize", -18.0}}) {
        SCOPED_TRACE(c.Option + std::string(" ") + c.Volume);
        const std::string source = Tone("tone", c.Volume), out = Dir / "out.mp3";
        const TRun run = RunCli({"cut", "--no-tag", c.Option, source, out, "500", "7500"});
        ASSERT_EQ(run.Exit, 0) << run.Err;
        EXPECT_NE(run.Out.find("loudness: "), std::string::npos) << run.Out;
        EXPECT_NE(PrintedSteps(run.Out), 0) << run.Out;
        const TLoudness result = MeasureFile(out);
        EXPECT_NEAR(result.IntegratedLufs, c.Target, 0.8);
        EXPECT_LE(result.TruePeakDbtp, -1.0);
    }
}

// A tone whose peaks leave less room than the loudness asks for: the steps
// are lowered to the ceiling and say so; --allow-clipping takes them all.
TEST_F(CliNormalize, KeepsTheTruePeakCeilingUnlessAllowedToClip)
{
    const std::string source = Tone("loud", "0.5"); // about -6.7 LUFS, peaks -6 dBTP: -1 LUFS wants 4 steps, 3 fit
    const std::string out = Dir / "out.mp3";
    const TRun limited = RunCli({"cut", "--no-tag", "--normalize=-1", source, out, "0", "8000"});
    ASSERT_EQ(limited.Exit, 0) << limited.Err;
    EXPECT_NE(limited.Out.find("lowered to keep the true peak"), std::string::npos) << limited.Out;
    EXPECT_LE(MeasureFile(out).TruePeakDbtp, -1.0);
    const int steps = PrintedSteps(limited.Out);

    const TRun clipping = RunCli({"cut", "--no-tag", "--normalize=-1", "--allow-clipping", source, out, "0", "8000"});
    ASSERT_EQ(clipping.Exit, 0) << clipping.Err;
    EXPECT_GT(PrintedSteps(clipping.Out), steps) << clipping.Out;
    EXPECT_GT(MeasureFile(out).TruePeakDbtp, -1.0);

    // With --gain the steps add up: the printed total is both.
    const TRun both = RunCli({"cut", "--no-tag", "--normalize=-1", "--gain", "-3", source, out, "0", "8000"});
    ASSERT_EQ(both.Exit, 0) << both.Err;
    EXPECT_NE(both.Out.find("gain: " + std::to_string(steps - 2) + " steps"), std::string::npos) << both.Out;
}

// A quiet half and a loud half split in three (the quiet half's last three
// seconds and the loud half are measured): each piece normalised on its
// own reaches the target; with --normalize-all both get one gain and keep
// their difference.
TEST_F(CliNormalize, SplitNormalisesEachPieceOrAllTogether)
{
    const std::string quiet = Dir / "q.wav", loud = Dir / "l.wav", both = Dir / "b.wav", mp3 = Dir / "b.mp3";
    ASSERT_EQ(std::system(("sox -n -r 44100 -c 2 -b 16 '" + quiet + "' synth 4 sine 1000 vol 0.02").c_str()), 0);
    ASSERT_EQ(std::system(("sox -n -r 44100 -c 2 -b 16 '" + loud + "' synth 4 sine 1000 vol 0.2").c_str()), 0);
    ASSERT_EQ(std::system(("sox '" + quiet + "' '" + loud + "' '" + both + "'").c_str()), 0);
    ASSERT_EQ(std::system(("lame --quiet -b 128 '" + both + "' '" + mp3 + "'").c_str()), 0);

    const TRun each =
        RunCli({"split", "--at", "1000,4000", "--no-tag", "--normalize=-20", "-d", Dir.Path(), "-o", "e{n}.mp3", mp3});
    ASSERT_EQ(each.Exit, 0) << each.Err;
    const TLoudness first = MeasureFile(Dir / "e2.mp3"), second = MeasureFile(Dir / "e3.mp3");
    EXPECT_NEAR(first.IntegratedLufs, -20.0, 0.8);
    EXPECT_NEAR(second.IntegratedLufs, -20.0, 0.8);

    const TRun all = RunCli(
        {"split", "--at", "1000,4000", "--no-tag", "--normalize=-20", "--normalize-all", "-d", Dir.Path(), "-o", "a{n}.mp3", mp3});
    ASSERT_EQ(all.Exit, 0) << all.Err;
    const TLoudness a1 = MeasureFile(Dir / "a2.mp3"), a2 = MeasureFile(Dir / "a3.mp3");
    EXPECT_NEAR(a2.IntegratedLufs - a1.IntegratedLufs, 20.0, 0.5); // 0.02 against 0.2
    // The quiet half lies below the relative gate: the loud half decides.
    EXPECT_NEAR(a2.IntegratedLufs, -20.0, 0.8);
    EXPECT_LE(a2.TruePeakDbtp, -1.0);
}

TEST_F(CliNormalize, RefusesWrongValuesAndOtherLayers)
{
    const std::string source = Tone("tone", "0.1"), out = Dir / "out.mp3";
    for (const char* bad : {"--normalize=loud", "--normalize=5", "--normalize=-80"}) {
        const TRun run = RunCli({"cut", bad, source, out, "0", "1000"});
        EXPECT_EQ(run.Exit, 2) << bad;
        EXPECT_NE(run.Err.find("--normalize expects"), std::string::npos) << run.Err;
    }
    EXPECT_EQ(RunCli({"cut", "--allow-clipping", source, out, "0", "1000"}).Exit, 2);
    const TRun layer2 = RunCli({"cut", "--normalize", Fixtures + "/layer2-48k.mp3", out, "0", "1000"});
    EXPECT_EQ(layer2.Exit, 1) << layer2.Err;
    EXPECT_NE(layer2.Err.find("Layer III"), std::string::npos) << layer2.Err;
    EXPECT_FALSE(std::filesystem::exists(out));
}

} // namespace

namespace {

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t from = 0;
    for (size_t nl = text.find('\n'); nl != std::string::npos; nl = text.find('\n', from)) {
        lines.push_back(text.substr(from, nl - from));
        from = nl + 1;
    }
    return lines;
}

// Several files cut into a folder at once: each output under its own name,
// normalised on its own, and each file's lines printed together, just
// before its name, as the same cut of that file alone prints them.
TEST_F(CliNormalize, BatchNormalisesEveryFileOnItsOwnAndPrintsItsLinesBesideItsName)
{
    const char* volumes[] = {"0.02", "0.3", "0.05", "0.6", "0.1", "0.03"};
    std::vector<std::string> sources;
    for (size_t i = 0; i < std::size(volumes); ++i)
        sources.push_back(Tone("tone" + std::to_string(i), volumes[i]));
    TempDir out;
    std::vector<std::string> args{"cut", "--no-tag", "--normalize=-20", "-d", out.Path()};
    args.insert(args.end(), sources.begin(), sources.end());
    args.insert(args.end(), {"500", "3500"});
    const TRun batch = RunCli(args);
    ASSERT_EQ(batch.Exit, 0) << batch.Err;
    EXPECT_EQ(batch.Err, "");

    std::vector<std::string> expectedNames;
    std::map<std::string, std::string> blocks; // a written name: the lines before it
    std::string block;
    for (const std::string& line : Lines(batch.Out)) {
        if (line.starts_with(out.Path() + "/")) {
            blocks[line.substr(out.Path().size() + 1)] = block;
            block.clear();
        } else {
            block += line + "\n";
        }
    }
    EXPECT_EQ(block, "");
    for (size_t i = 0; i < sources.size(); ++i) {
        const std::string name = "tone" + std::to_string(i) + " 00.00.500-00.03.500.mp3";
        SCOPED_TRACE(name);
        expectedNames.push_back(name);
        const TLoudness result = MeasureFile(out / name);
        EXPECT_NEAR(result.IntegratedLufs, -20.0, 0.8);
        const TRun alone = RunCli({"cut", "--no-tag", "--normalize=-20", sources[i], Dir / "alone.mp3", "500", "3500"});
        ASSERT_EQ(alone.Exit, 0) << alone.Err;
        EXPECT_EQ(blocks[name], alone.Out);
        EXPECT_EQ(ReadAll(out / name), ReadAll(Dir / "alone.mp3"));
    }
    std::sort(expectedNames.begin(), expectedNames.end());
    EXPECT_EQ(out.Names(), expectedNames);
}

// An exact piece shorter than a frame has no frame starting inside it:
// nothing to measure gives no gain, never the -18 dB that figures of 0 LUFS
// and 0 dBTP would ask for.
TEST_F(CliNormalize, APieceWithNothingToMeasureGetsNoGain)
{
    const std::string source = Fixtures + "/mono8k.mp3"; // frames of 72 ms
    TempDir plain, normalised;
    const TRun a = RunCli({"split", "--at", "100,130", "--exact", "--no-tag", "-d", plain.Path(), source});
    ASSERT_EQ(a.Exit, 0) << a.Err;
    const TRun b =
        RunCli({"split", "--at", "100,130", "--exact", "--no-tag", "--normalize", "-d", normalised.Path(), source});
    ASSERT_EQ(b.Exit, 0) << b.Err;
    const std::vector<std::string> lines = Lines(b.Out);
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines[1], "normalize: " + normalised / "mono8k 2.mp3" + ": the range is silent; no gain");
    EXPECT_EQ(ReadAll(normalised / "mono8k 2.mp3"), ReadAll(plain / "mono8k 2.mp3"));
}

// Measuring for normalisation succeeds on every Layer III file the tests
// have, for pieces from the stream's start (whole or partial, plain and
// exact) and for the whole stream.
TEST(CliNormalizeFixtures, MeasuresEveryPieceFromTheStart)
{
    for (const char* name : {"cbr128-tags.mp3", "vbr48k.mp3", "mono22k.mp3", "mono8k.mp3", "stereo-notag.mp3",
                             "leading-zeros.mp3", "ffmpeg-ape.mp3"}) {
        const std::string source = Fixtures + "/" + name;
        for (const char* exact : {"--length-header", "--exact"}) {
            SCOPED_TRACE(std::string(name) + " " + exact);
            TempDir out;
            for (const char* end : {"5000", "200", "30"}) {
                const TRun cut = RunCli({"cut", "--normalize", exact, source, out / "cut.mp3", "0", end});
                EXPECT_EQ(cut.Exit, 0) << end << ": " << cut.Err;
            }
            for (const char* all : {"--allow-clipping", "--normalize-all"}) {
                const TRun split = RunCli({"split", "--parts", "3", "--normalize", all, exact, "--force", "-d",
                                           out.Path(), source});
                EXPECT_EQ(split.Exit, 0) << all << ": " << split.Err;
                EXPECT_EQ(split.Err, "");
            }
        }
    }
}

// Sound too short for a loudness block is not called silence, and a
// negative target may follow --normalize as its own word.
TEST_F(CliNormalize, ShortSoundIsNotCalledSilentAndANegativeTargetMayStandApart)
{
    const std::string source = Tone("tone", "0.5");
    const TRun run = RunCli({"cut", "--no-tag", "--normalize", "-16", source, Dir / "short.mp3", "0", "235"});
    ASSERT_EQ(run.Exit, 0) << run.Err;
    EXPECT_NE(run.Out.find("too short or too quiet to measure"), std::string::npos) << run.Out;
    EXPECT_EQ(run.Out.find("silent"), std::string::npos) << run.Out;
    const TRun target = RunCli({"cut", "--no-tag", "--normalize", "-16", source, Dir / "long.mp3", "0", "2000"});
    ASSERT_EQ(target.Exit, 0) << target.Err;
    EXPECT_NE(target.Out.find("to -16.0 LUFS"), std::string::npos) << target.Out;
}

} // namespace
