// vivizu-cli split --silence on a recording made at run time: tones and
// pauses at known places (a long one, a short one, one of noise just under
// the threshold), encoded with LAME.
#include "CliRunner.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>

using namespace clitest;
using namespace vivizu::test;

namespace {

bool Have(const char* tool)
{
    return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

// The pauses as the decode sees them: LAME's delay and the decoder's move
// everything about 1105 samples (25 ms) later.
constexpr double Shift = 1105.0 / 44100.0;
struct TPause {
    double From, To;
};
// tone 3 s | silence 2 s | tone 2 s | silence 0.6 s | tone 2 s |
// noise 1.5 s just under -48 dBFS | tone 2 s
const TPause Pauses[] = {{3.0 + Shift, 5.0 + Shift}, {7.0 + Shift, 7.6 + Shift}, {9.6 + Shift, 11.1 + Shift}};
constexpr double FrameSeconds = 1152.0 / 44100.0;

struct TPlanPiece {
    double Start, End; // seconds
};

// The pieces of a --dry-run --json plan.
std::vector<TPlanPiece> PlanPieces(const std::string& json)
{
    std::vector<TPlanPiece> pieces;
    const std::string tail = json.substr(json.find("\"pieces\""));
    const std::regex piece(R"("start_ms": ([0-9.]+), "end_ms": ([0-9.]+))");
    for (auto it = std::sregex_iterator(tail.begin(), tail.end(), piece); it != std::sregex_iterator(); ++it)
        pieces.push_back({std::stod((*it)[1]) / 1000.0, std::stod((*it)[2]) / 1000.0});
    return pieces;
}

class CliSplitSilence : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!Have("sox") || !Have("lame"))
            return;
        Folder = new TempDir;
        const std::string make =
            "cd '" + Folder->Path() + "' && "
            "sox -q -R -n -r 44100 -c 2 t3.wav synth 3 sine 440 gain -12 && "
            "sox -q -R -n -r 44100 -c 2 t2.wav synth 2 sine 660 gain -12 && "
            "sox -q -R -n -r 44100 -c 2 s2.wav trim 0 2 && "
            "sox -q -R -n -r 44100 -c 2 s06.wav trim 0 0.6 && "
            "sox -q -R -n -r 44100 -c 2 n15.wav synth 1.5 whitenoise gain -46 && "
            "sox -q t3.wav s2.wav t2.wav s06.wav t2.wav n15.wav t2.wav album.wav && "
            "lame --quiet -b 128 album.wav album.mp3 && "
            "sox -q -R -n -r 44100 -c 2 tone.wav synth 6 sine 440 gain -12 && "
            "lame --quiet -b 128 tone.wav tone.mp3 && rm -f *.wav";
        ASSERT_EQ(std::system(make.c_str()), 0);
    }
    static void TearDownTestSuite()
    {
        delete Folder;
        Folder = nullptr;
    }
    void SetUp() override
    {
        if (Folder == nullptr)
            GTEST_SKIP() << "needs sox and lame";
    }
    static std::string Album() { return *Folder / "album.mp3"; }
    TRun Split(std::vector<std::string> args, int exitCode = 0)
    {
        args.insert(args.begin(), "split");
        const TRun r = RunCli(args);
        EXPECT_EQ(r.Exit, exitCode) << r.Err;
        return r;
    }

    static TempDir* Folder;
    TempDir Out;
};
TempDir* CliSplitSilence::Folder = nullptr;

TEST_F(CliSplitSilence, SplitsInsideEveryTruePauseAndNowhereElse)
{
    // The short pause needs a shorter minimum.
    const TRun plan = Split({"--silence", "--min-length", "0.5", "--dry-run", "--json", Album()});
    const std::vector<TPlanPiece> pieces = PlanPieces(plan.Out);
    ASSERT_EQ(pieces.size(), 4u) << plan.Out;
    for (size_t i = 1; i < pieces.size(); ++i) {
        const TPause& p = Pauses[i - 1];
        // The piece begins at the first frame at or after the pause's middle.
        EXPECT_GT(pieces[i].Start, p.From) << i;
        EXPECT_LT(pieces[i].Start, p.To) << i;
        EXPECT_NEAR(pieces[i].Start, (p.From + p.To) / 2, FrameSeconds + 0.02) << i;
        EXPECT_EQ(pieces[i].Start, pieces[i - 1].End); // nothing dropped
    }
    EXPECT_EQ(pieces[0].Start, 0.0);
    // The noise is found, with its level just under the threshold (printed
    // to a tenth of a dB, so that it may read as the threshold itself). The
    // noise is the same in every run (sox -R).
    const std::regex level(R"("level_db": (-[0-9.]+))");
    std::vector<double> levels;
    for (auto it = std::sregex_iterator(plan.Out.begin(), plan.Out.end(), level); it != std::sregex_iterator(); ++it)
        levels.push_back(std::stod((*it)[1]));
    ASSERT_EQ(levels.size(), 3u);
    EXPECT_LT(levels[0], -80.0);
    EXPECT_LE(levels[2], -48.0);
    EXPECT_GT(levels[2], -56.0);

    // The default minimum of 1 s passes over the short pause; the table
    // lists the pauses with their levels.
    const TRun table = Split({"--silence", "--dry-run", Album()});
    EXPECT_NE(table.Out.find("pause  start"), std::string::npos) << table.Out;
    EXPECT_NE(table.Out.find("album 3.mp3"), std::string::npos);
    EXPECT_EQ(table.Out.find("album 4.mp3"), std::string::npos);

    // Written through the one writer: every frame in exactly one piece.
    const TRun run = Split({"--silence", "--min-length", "0.5", "--no-tag", "-d", Out.Path(), Album()});
    ASSERT_EQ(Out.Names(), (std::vector<std::string>{"album 1.mp3", "album 2.mp3", "album 3.mp3", "album 4.mp3"}));
    Bytes joined;
    for (const std::string& name : Out.Names())
        joined = joined + ReadAll(Out / name);
    const Bytes source = ReadAll(Album());
    ASSERT_LT(joined.size(), source.size());
    EXPECT_EQ(Slice(source, source.size() - joined.size(), joined.size()), joined); // the source less its header frame
}

TEST_F(CliSplitSilence, KeepSilenceDropsTheDeadAir)
{
    const TRun plan = Split({"--silence", "--min-length", "0.5", "--keep-silence", "0.2", "--dry-run", "--json", Album()});
    const std::vector<TPlanPiece> pieces = PlanPieces(plan.Out);
    ASSERT_EQ(pieces.size(), 4u) << plan.Out;
    for (size_t i = 0; i + 1 < pieces.size(); ++i) {
        const TPause& p = Pauses[i];
        // At most 0.2 s of the pause after the sound (0.3 s pause halves
        // for the 0.6 s one), and no sound lost: the piece holds the frame
        // where the pause begins.
        const double kept = std::min(0.2, (p.To - p.From) / 2);
        EXPECT_GT(pieces[i].End, p.From) << i;
        EXPECT_LE(pieces[i].End, p.From + kept + 0.001) << i;
        EXPECT_LT(pieces[i + 1].Start, p.To) << i;
        EXPECT_GE(pieces[i + 1].Start, p.To - kept - 0.001) << i;
    }
    // The 2 s pause loses about 1.6 s, the noise about 1.1 s.
    EXPECT_GT(pieces[1].Start - pieces[0].End, 1.5);
    EXPECT_GT(pieces[3].Start - pieces[2].End, 1.0);

    Split({"--silence", "--min-length", "0.5", "--keep-silence", "0.2", "--exact", "-d", Out.Path(), Album()});
    EXPECT_EQ(Out.Names().size(), 4u);
}

TEST_F(CliSplitSilence, NoSilenceWritesNothing)
{
    const TRun r = Split({"--silence", "-d", Out.Path(), *Folder / "tone.mp3"}, 1);
    EXPECT_NE(r.Err.find("no silence found"), std::string::npos) << r.Err;
    EXPECT_TRUE(Out.Names().empty());
    // A threshold under the noise's level finds only the digital silence.
    const TRun low = Split({"--silence", "--threshold", "-70", "--dry-run", "--json", Album()});
    EXPECT_EQ(PlanPieces(low.Out).size(), 2u) << low.Out;
}

TEST_F(CliSplitSilence, RefusesSilenceOptionsThatDoNotFit)
{
    Split({"--parts", "2", "--threshold", "-40", Album()}, 2);
    Split({"--silence", "--threshold", "6", Album()}, 2);
    Split({"--silence", "--min-length", "0", Album()}, 2);
    Split({"--silence", "--keep-silence", "0.1", "--chapters", Out / "c.mp3", Album()}, 2);
    EXPECT_TRUE(Out.Names().empty());
}

} // namespace
