// Jobs run through the operations layer on the fixtures: what a stream
// cannot take is refused before a byte is written, a cancelled job writes
// nothing, and a job's pieces get their names and numbered tags one way.
#include "operations/Planner.h"
#include "operations/Runner.h"
#include "tests/engine/Mp3Bytes.h"

#include "engine/cut/SplitPlan.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>

using namespace vivizu;
using namespace vivizu::test;

namespace {

const std::string Fixtures = VIVIZU_FIXTURES;

// Two pieces of mp3 (split at 0.5 s), named in dir.
std::vector<TSplitPiece> TwoPieces(TRoruvoMP3& mp3, const std::string& dir)
{
    mp3.CompleteIndex();
    const TSplitRanges ranges = PlanPlainSplit(mp3.Index(), {TStreamTime::FromMs(500)}, false);
    TPieceNaming naming;
    naming.Folder = dir;
    naming.SourceName = "piece";
    return PlanPieces(mp3.Info, ranges.Pieces, naming, {TTagMode::Never, {}}, {}, 1252).Pieces;
}

// Every volume change and header asked of a Layer II split is refused with
// the reason before anything is written; the same split without them writes
// its pieces.
TEST(Jobs, LayerTwoSplitRefusesWhatItsFramesCannotCarryAndWritesNothing)
{
    TempDir dir;
    TRoruvoMP3 mp3(Fixtures + "/layer2-48k.mp3");
    ASSERT_TRUE(mp3.Valid);
    ASSERT_EQ(mp3.Info.Layer, 2);
    const std::vector<TSplitPiece> pieces = TwoPieces(mp3, dir.Path());
    ASSERT_EQ(pieces.size(), 2u);
    struct TCase {
        const char* What;
        TCutChoices Choices;
        const char* Reason;
    };
    std::vector<TCase> cases(6);
    cases[0] = {"gain", {}, "gain and fades need Layer III"};
    cases[0].Choices.GainSteps = 2;
    cases[1] = {"fade-in", {}, "gain and fades need Layer III"};
    cases[1].Choices.FadeInMs = 200;
    cases[2] = {"fade-out", {}, "gain and fades need Layer III"};
    cases[2].Choices.FadeOutMs = 200;
    cases[3] = {"normalize", {}, "loudness normalisation works on Layer III streams only"};
    cases[3].Choices.NormalizeLufs = -18.0;
    cases[4] = {"length header", {}, "a length header and an exact cut need Layer III"};
    cases[4].Choices.LengthHeader = true;
    cases[5] = {"exact", {}, "a length header and an exact cut need Layer III"};
    cases[5].Choices.ExactCut = true;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.What);
        bool written = false;
        TJobCallbacks callbacks;
        callbacks.Written = [&](size_t) { written = true; };
        const TJobReport report = RunJob(SplitJob(mp3, pieces, c.Choices), callbacks);
        EXPECT_EQ(report.Stage, TJobStage::Plan);
        EXPECT_EQ(report.Result.Status, TCutStatus::NotApplicable);
        EXPECT_NE(report.Result.Message.find(c.Reason), std::string::npos) << report.Result.Message;
        EXPECT_EQ(report.Result.Message.rfind(mp3.FileName + ": ", 0), 0u) << "names the file";
        EXPECT_FALSE(written);
        EXPECT_TRUE(report.Written.empty());
        EXPECT_TRUE(dir.Names().empty());
        // The same refusal for a cut of the stream.
        const std::string out = dir / "cut.mp3";
        const TJobReport cut = RunJob(CutJob(mp3, 0, 1000, c.Choices, out));
        EXPECT_EQ(cut.Stage, TJobStage::Plan);
        EXPECT_EQ(cut.Result.Message, report.Result.Message);
        EXPECT_FALSE(Exists(out));
    }
    const TJobReport plain = RunJob(SplitJob(mp3, pieces, {}));
    ASSERT_TRUE(plain.Ok()) << plain.Result.Message;
    EXPECT_EQ(plain.Written, (std::vector<std::string>{pieces[0].FileName, pieces[1].FileName}));
    EXPECT_EQ(dir.Names(), (std::vector<std::string>{"piece 1.mp3", "piece 2.mp3"}));
}

// A job whose cancel flag is set writes nothing: a cut stopped before its
// write, and a cut with a loudness target stopped in its measurement.
TEST(Jobs, ACancelledJobWritesNothing)
{
    TempDir dir;
    TRoruvoMP3 mp3(Fixtures + "/cbr128-tags.mp3");
    ASSERT_TRUE(mp3.Valid);
    const std::atomic<bool> cancel{true};
    TJobCallbacks callbacks;
    callbacks.Cancel = &cancel;
    const std::string out = dir / "out.mp3";
    TJobReport report = RunJob(CutJob(mp3, 0, 1000, {}, out), callbacks);
    EXPECT_TRUE(report.Cancelled);
    EXPECT_FALSE(report.Ok());
    EXPECT_FALSE(Exists(out));

    TCutChoices normalize;
    normalize.NormalizeLufs = -18.0;
    report = RunJob(CutJob(mp3, 0, 1000, normalize, out), callbacks);
    EXPECT_TRUE(report.Cancelled);
    EXPECT_EQ(report.Stage, TJobStage::Measure);
    EXPECT_FALSE(Exists(out));
    EXPECT_TRUE(dir.Names().empty());

    // Not cancelled: the same job writes, and the measurement is reported.
    const std::atomic<bool> go{false};
    callbacks.Cancel = &go;
    std::string measured = "none";
    callbacks.Measured = [&](const std::string& what, const TNormalization& n) {
        measured = what;
        EXPECT_TRUE(n.Measured());
    };
    report = RunJob(CutJob(mp3, 0, 1000, normalize, out), callbacks);
    ASSERT_TRUE(report.Ok()) << report.Result.Message;
    EXPECT_EQ(measured, "");
    ASSERT_TRUE(report.Normalized);
    EXPECT_EQ(report.Result.GainSteps, report.Normalized->Steps.Steps);
    EXPECT_EQ(report.Written, std::vector<std::string>{out});
}

// A source that is no MP3 stream is refused by the checks, for every kind.
TEST(Jobs, ASourceThatIsNoStreamIsRefused)
{
    TempDir dir;
    const std::string text = dir.Write("text.mp3", TextBytes("not audio at all, only words"));
    TRoruvoMP3 mp3(text);
    ASSERT_FALSE(mp3.Valid);
    TJob join;
    join.Kind = TJobKind::Join;
    join.Sources = {{&mp3, 0, INT32_MAX, {}}};
    join.Output = dir / "joined.mp3";
    for (const TJob& job : {CutJob(mp3, 0, 1000, {}, dir / "cut.mp3"), join}) {
        const TJobReport report = RunJob(job);
        EXPECT_EQ(report.Stage, TJobStage::Plan);
        EXPECT_EQ(report.Result.Status, TCutStatus::NotAnalysed);
        EXPECT_EQ(report.Result.Message, text + ": not an MP3 stream");
    }
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"text.mp3"});
}

// The pieces' tags: numbered from the first track when a tag is written at
// all (always, or from the source's tag, edits or a first track number);
// what a cue sheet gives fills only the fields the edits leave unset.
TEST(Jobs, PieceTagsAreNumberedOnlyWhenATagIsWritten)
{
    TRoruvoMP3 tagged(Fixtures + "/cbr128-tags.mp3"), bare(Fixtures + "/stereo-notag.mp3");
    ASSERT_EQ(tagged.Info.ID3v1Size, 128);
    ASSERT_EQ(bare.Info.ID3v1Size, 0);
    const auto marker = [](const TID3v1Tag& tag) { return std::string(tag.Marker, 3) == "TAG"; };

    // From the source: none for a source without a tag and nothing asked.
    EXPECT_FALSE(marker(PieceTag(bare.Info, {TTagMode::FromSource, {}}, {}, 0, 1252)));
    // A first track number asks for one.
    TPieceTagging numbered{TTagMode::FromSource, {}, 7, true};
    TID3v1Tag tag = PieceTag(bare.Info, numbered, {}, 2, 1252);
    ASSERT_TRUE(marker(tag));
    EXPECT_EQ(tag.Track, 9);
    // The source's tag is carried, numbered from 1.
    tag = PieceTag(tagged.Info, {TTagMode::FromSource, {}}, {}, 0, 1252);
    ASSERT_TRUE(marker(tag));
    EXPECT_EQ(tag.Track, 1);
    EXPECT_EQ(TagFieldText(tag.Album), TagFieldText(tagged.Info.Tag.Album));

    // A cue's title fills an unset title; the edits' own title wins.
    TTagEdits cue;
    cue.Title = "From the cue";
    cue.Album = "Cue album";
    tag = PieceTag(bare.Info, {TTagMode::Always, {}}, cue, 4, 1252);
    EXPECT_EQ(TagFieldText(tag.Title), "From the cue");
    EXPECT_EQ(TagFieldText(tag.Album), "Cue album");
    EXPECT_EQ(tag.Track, 5);
    TPieceTagging titled{TTagMode::Always, {}};
    titled.Edits.Title = "Mine";
    titled.Edits.Track = 99; // the pieces' own numbers replace it
    tag = PieceTag(bare.Info, titled, cue, 0, 1252);
    EXPECT_EQ(TagFieldText(tag.Title), "Mine");
    EXPECT_EQ(tag.Track, 1);
    // Never: no tag, whatever else is given.
    EXPECT_FALSE(marker(PieceTag(tagged.Info, {TTagMode::Never, titled.Edits, 1, true}, cue, 0, 1252)));
}

// The pieces' names: the template's fields per piece, in the folder (none
// for the working folder), the per-piece titles and artists filled in.
TEST(Jobs, PiecesAreNamedByTheTemplateInTheFolder)
{
    TRoruvoMP3 mp3(Fixtures + "/tone-pause-tone.mp3");
    mp3.CompleteIndex();
    const TSplitRanges ranges =
        PlanPlainSplit(mp3.Index(), {TStreamTime::FromMs(1000), TStreamTime::FromMs(3000)}, false);
    ASSERT_EQ(ranges.Pieces.size(), 3u);
    TPieceNaming naming;
    naming.Template = "{n} {title} - {artist}.mp3";
    naming.Titles = {"One", "Two/Half", "Three"};
    naming.Artists = {"A"};
    TPlannedPieces planned = PlanPieces(mp3.Info, ranges.Pieces, naming, {TTagMode::Never, {}}, {}, 1252);
    EXPECT_EQ(planned.Names, (std::vector<std::string>{"1 One - A.mp3", "2 Two_Half - .mp3", "3 Three - .mp3"}));
    EXPECT_EQ(planned.Pieces[0].FileName, "1 One - A.mp3");
    naming.Folder = "/music/out";
    planned = PlanPieces(mp3.Info, ranges.Pieces, naming, {TTagMode::Never, {}}, {}, 1252);
    EXPECT_EQ(planned.Pieces[2].FileName, "/music/out/3 Three - .mp3");
    EXPECT_EQ(planned.Pieces[1].Range.First, ranges.Pieces[1].First);
}

// The outputs a job names for the check of the whole run: a split's
// pieces and cue sheet, a cut's or a join's file; a piece that is the
// source under another spelling refuses the run.
TEST(Jobs, TheRunsCheckSeesEveryFileAJobWrites)
{
    TempDir dir;
    const std::string source = dir.Write("in.mp3", ReadAll(Fixtures + "/tone-pause-tone.mp3"));
    TRoruvoMP3 mp3(source);
    TJob split = SplitJob(mp3, TwoPieces(mp3, dir.Path()), {});
    split.CueSheet = dir / "in.cue";
    const std::vector<TRunOutput> outputs = JobOutputs(split, 3);
    ASSERT_EQ(outputs.size(), 3u);
    EXPECT_EQ(outputs[0].Path, dir / "piece 1.mp3");
    EXPECT_EQ(outputs[1].What, "piece");
    EXPECT_EQ(outputs[2].Path, dir / "in.cue");
    EXPECT_EQ(outputs[2].What, "cue sheet");
    EXPECT_EQ(outputs[2].Input, 3u);
    EXPECT_TRUE(CheckRunOutputs({source}, JobOutputs(split, 0), false).Refused.empty());

    split.Pieces[1].FileName = dir.Path() + "/./in.mp3";
    EXPECT_FALSE(CheckRunOutputs({source}, JobOutputs(split, 0), true).Refused.empty());
    const TJob cut = CutJob(mp3, 0, 1000, {}, dir / "../" + dir.Path().substr(dir.Path().rfind('/') + 1) + "/in.mp3");
    ASSERT_EQ(JobOutputs(cut, 0).size(), 1u);
    EXPECT_EQ(JobOutputs(cut, 0)[0].What, "cut");
    EXPECT_FALSE(CheckRunOutputs({source}, JobOutputs(cut, 0), true).Refused.empty());
}

} // namespace
