// join takes cut's tag options and writes the tag a cut writes, prints
// cut's JSON outcome line with --json, and reads cut's volume options with
// cut's usage errors before anything is written; its chapters are titled
// from each input's tags.
#include "CliRunner.h"

#include <gtest/gtest.h>
#include <taglib/chapterframe.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

using namespace clitest;
using namespace vivizu::test;

namespace {

Bytes Tail(const Bytes& bytes, size_t count)
{
    return Slice(bytes, bytes.size() - count, count);
}

// The ID3v1 tag of a join is the first file's, edited by the tag options
// exactly as a cut of that file edits it.
TEST(CliJoinOptions, TagOptionsWriteTheTagACutWrites)
{
    TempDir dir;
    const Bytes a = Frames(H44, 20, 0x00), b = Frames(H44, 30, 0x40);
    const Bytes alphaTag = Id3v1Fields("Alpha", "Band", "Disc", "1999", "old", 2, 17);
    const std::string tagged = dir.Write("a.mp3", a + alphaTag);
    const std::string bare = dir.Write("b.mp3", b);
    const std::vector<std::vector<std::string>> optionSets = {
        {"--title", "Joined", "--artist", "Someone", "--track", "7", "--genre", "12"},
        {"--album", "Live", "--year", "2026", "--comment", "both halves"},
        {"--tag"},
        {},
    };
    for (const std::string& first : {tagged, bare}) {
        for (const auto& options : optionSets) {
            std::vector<std::string> join = {"join", "--force", "-o", dir / "j.mp3"};
            std::vector<std::string> cut = {"cut"};
            join.insert(join.end(), options.begin(), options.end());
            cut.insert(cut.end(), options.begin(), options.end());
            join.insert(join.end(), {first, first == tagged ? bare : tagged});
            cut.insert(cut.end(), {first, dir / "c.mp3", "0", "10:00"});
            std::remove((dir / "c.mp3").c_str());
            const TRun joined = RunCli(join), cutRun = RunCli(cut);
            ASSERT_EQ(joined.Exit, 0) << joined.Err;
            ASSERT_EQ(cutRun.Exit, 0) << cutRun.Err;
            const Bytes j = ReadAll(dir / "j.mp3"), c = ReadAll(dir / "c.mp3");
            const Bytes audio = first == tagged ? a + b : b + a;
            // The audio of both files, then exactly the cut's tag (or none).
            ASSERT_EQ(j.size() - audio.size(), c.size() - (first == tagged ? a : b).size()) << first;
            EXPECT_EQ(Slice(j, 0, audio.size()), audio);
            EXPECT_EQ(Tail(j, j.size() - audio.size()), Tail(c, c.size() - (first == tagged ? a : b).size()))
                << first << " " << (options.empty() ? "" : options.front());
        }
    }
    // A field edit on a file without a tag writes one; --no-tag none.
    ASSERT_EQ(RunCli({"join", "--force", "--title", "T", "-o", dir / "j.mp3", bare, bare}).Exit, 0);
    EXPECT_EQ(Tail(ReadAll(dir / "j.mp3"), 128), Id3v1Fields("T", "", "", "", "", 0, 255));
    ASSERT_EQ(RunCli({"join", "--force", "--no-tag", "-o", dir / "j.mp3", tagged, tagged}).Exit, 0);
    EXPECT_EQ(ReadAll(dir / "j.mp3"), a + a);
}

// Options that cannot be used are usage errors, and nothing is written.
TEST(CliJoinOptions, UnusableOptionsAreRefusedBeforeAnythingIsWritten)
{
    TempDir dir;
    const std::string a = dir.Write("a.mp3", Frames(H44, 20));
    const std::string out = dir / "out.mp3";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"--no-tag", "--title", "x"}, "tag field options cannot go with --no-tag"},
        {{"--tag", "--no-tag"}, "--tag and --no-tag exclude each other"},
        {{"--genre", "300"}, "--genre expects a number from 0 to 255"},
        {{"--track", "two"}, "--track expects a whole number"},
        {{"--gain", "61"}, "--gain expects decibels from -60 to 60"},
        {{"--fade-in", "soon"}, "--fade-in expects a time"},
        {{"--fade-out", "-1"}, "--fade-out expects a time"},
        {{"--join-fade", "x"}, "--join-fade expects a time"},
        {{"--normalize=3"}, "--normalize expects a loudness from -70 to 0 LUFS"},
        {{"--allow-clipping"}, "--allow-clipping goes with --normalize"},
    };
    for (const auto& [options, message] : cases) {
        std::vector<std::string> argv = {"join", "-o", out};
        argv.insert(argv.end(), options.begin(), options.end());
        argv.insert(argv.end(), {a, a});
        const TRun run = RunCli(argv);
        EXPECT_EQ(run.Exit, 2) << options.front();
        EXPECT_NE(run.Err.find(message), std::string::npos) << run.Err;
        EXPECT_FALSE(Exists(out)) << options.front();
    }
}

// cut, split and join read the tag options alike: the same mistakes are
// the same usage errors, and nothing is written; split's --track-start is a
// field option too.
TEST(CliJoinOptions, CutSplitAndJoinRefuseTheSameTagMistakes)
{
    TempDir dir;
    const std::string a = dir.Write("a.mp3", Frames(H44, 20));
    const std::vector<std::pair<std::vector<std::string>, std::string>> mistakes = {
        {{"--no-tag", "--artist", "x"}, "tag field options cannot go with --no-tag"},
        {{"--tag", "--no-tag"}, "--tag and --no-tag exclude each other"},
        {{"--genre", "-1"}, "--genre expects a number from 0 to 255, not '-1'"},
        {{"--genre", "x"}, "--genre expects a number from 0 to 255, not 'x'"},
    };
    for (const auto& [options, reason] : mistakes) {
        std::vector<std::vector<std::string>> commands = {
            {"cut", a, dir / "out.mp3", "0", "1"},
            {"split", "--parts", "2", "-d", dir / "pieces", a},
            {"join", "-o", dir / "out.mp3", a, a},
        };
        for (auto& argv : commands) {
            argv.insert(argv.begin() + 1, options.begin(), options.end());
            const TRun run = RunCli(argv);
            EXPECT_EQ(run.Exit, 2) << argv.front() << " " << options.front();
            EXPECT_NE(run.Err.find(reason), std::string::npos) << argv.front() << ": " << run.Err;
        }
    }
    const TRun split = RunCli({"split", "--no-tag", "--track-start", "3", "--parts", "2", "-d", dir / "pieces", a});
    EXPECT_EQ(split.Exit, 2);
    EXPECT_NE(split.Err.find("tag field options cannot go with --no-tag"), std::string::npos) << split.Err;
    EXPECT_EQ(dir.Names(), std::vector<std::string>{"a.mp3"});
}

// --json: one line, cut's outcome line, naming OUT; a refusal is declined
// with its reason in the line, and nothing is written.
TEST(CliJoinOptions, JsonPrintsCutsOutcomeLine)
{
    TempDir dir;
    const std::string a = dir.Write("a.mp3", Frames(H44, 20));
    const std::string b48 = dir.Write("b48.mp3", Frames(H48, 20));
    const std::string out = dir / "out.mp3";
    TRun run = RunCli({"join", "--json", "-q", "-o", out, a, a});
    ASSERT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(run.Out, R"({"file": ")" + out + R"(", "status": "done", "written": [")" + out +
                           R"("], "reason": ""})" + "\n");
    EXPECT_EQ(run.Err, "");
    EXPECT_TRUE(Exists(out));

    const std::string other = dir / "other.mp3";
    run = RunCli({"join", "--json", "-o", other, a, b48});
    EXPECT_EQ(run.Exit, 1);
    const std::string declined = R"({"file": ")" + other + R"(", "status": "declined", "written": [], )";
    EXPECT_EQ(run.Out.rfind(declined + R"("reason": "join: )", 0), 0u) << run.Out;
    EXPECT_NE(run.Out.find("players stop at the change; nothing written\"}"), std::string::npos) << run.Out;
    EXPECT_EQ(run.Out.find('\n'), run.Out.size() - 1);
    EXPECT_FALSE(Exists(other));
    // Without --json a join prints nothing on success.
    run = RunCli({"join", "--force", "-o", out, a, a});
    ASSERT_EQ(run.Exit, 0) << run.Err;
    EXPECT_EQ(run.Out, "");
}

// An ID3v2.3 tag holding one TIT2 frame with title (Latin-1).
Bytes Id3v2Titled(const std::string& title)
{
    const size_t frame = 1 + title.size();
    const Bytes body = Bytes{'T', 'I', 'T', '2', 0, 0, 0, static_cast<uint8_t>(frame), 0, 0, 0} + TextBytes(title);
    const size_t size = body.size();
    Bytes tag{'I', 'D', '3', 3, 0, 0, 0, 0, static_cast<uint8_t>(size >> 7), static_cast<uint8_t>(size & 0x7F)};
    return tag + body;
}

// A chapter is titled by its input's ID3v2 title (even when an ID3v1 title
// is there too), else by its ID3v1 title, else by its file name.
TEST(CliJoinOptions, ChaptersAreTitledFromEachInputsTag)
{
    TempDir dir;
    const std::string both =
        dir.Write("v2.mp3", Id3v2Titled("Gamma") + Frames(H44, 10) + Id3v1Fields("Ignored", "", "", "", "", 0, 1));
    const std::string v1 = dir.Write("v1.mp3", Frames(H44, 10) + Id3v1Fields("Alpha", "", "", "", "", 0, 1));
    const std::string none = dir.Write("plain name.mp3", Frames(H44, 10));
    ASSERT_EQ(RunCli({"join", "--chapters", "-o", dir / "ch.mp3", both, v1, none, v1}).Exit, 0);
    TagLib::MPEG::File file((dir / "ch.mp3").c_str());
    TagLib::ID3v2::Tag* tag = file.ID3v2Tag(false);
    ASSERT_NE(tag, nullptr);
    std::vector<std::string> titles;
    for (TagLib::ID3v2::Frame* frame : tag->frameList("CHAP")) {
        const auto* chapter = dynamic_cast<TagLib::ID3v2::ChapterFrame*>(frame);
        ASSERT_TRUE(chapter);
        titles.push_back(chapter->embeddedFrameList("TIT2").front()->toString().to8Bit(true));
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"Gamma", "Alpha", "plain name", "Alpha"}));
}

} // namespace
