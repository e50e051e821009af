// vivizu-cli info, and the command dispatch, run as a user would.
#include "CliRunner.h"

#include <gtest/gtest.h>

using namespace clitest;
using namespace vivizu::test;

namespace {
const std::string Fixtures = VIVIZU_FIXTURES;
}

TEST(CliInfo, PrintsTheAnalysisAndTagInOrder)
{
    const TRun r = RunCli({"info", Fixtures + "/cbr128-tags.mp3"});
    EXPECT_EQ(r.Exit, 0);
    EXPECT_EQ(r.Err, "");
    EXPECT_EQ(r.Out,
              "FileSize: 25468\nValid: true\nVersion: 1\nLayer: 3\nBitrate: 128\nSampleRate: 44100\n"
              "Mono: false\nID3v2Size: 264\nLeadingZeros: 0\nID3v1Size: 128\nAPESize: 0\n"
              "LengthMs: 1541\nLength: 000:00:01.541\nTitle: Cut Title\nArtist: Some Artist\n"
              "Album: An Album\nYear: 2024\nComment: A comment\nTrack: 7\nGenre: 17\nGenreName: Rock\n");
}

TEST(CliInfo, WithoutATagStopsAtTheLength)
{
    const TRun r = RunCli({"info", Fixtures + "/leading-zeros.mp3"});
    EXPECT_EQ(r.Exit, 0);
    EXPECT_EQ(r.Out,
              "FileSize: 7037\nValid: true\nVersion: 2.5\nLayer: 3\nBitrate: 32\nSampleRate: 8000\n"
              "Mono: true\nID3v2Size: 25\nLeadingZeros: 100\nID3v1Size: 0\nAPESize: 0\n"
              "LengthMs: 1656\nLength: 000:00:01.656\n");
    EXPECT_NE(RunCli({"info", Fixtures + "/mono22k.mp3"}).Out.find("\nVersion: 2\n"), std::string::npos);
}

TEST(CliInfo, JsonHasTheSameFieldsTypedAndEscaped)
{
    TempDir dir;
    const std::string file = dir.Write(
        "q.mp3", Frames(H44, 10, 0) + Id3v1Fields("say \"hi\"\\", "tab\there", "", "", "", 0, 200));
    const TRun r = RunCli({"info", "--json", file});
    EXPECT_EQ(r.Exit, 0);
    EXPECT_EQ(r.Out,
              "{\n  \"FileSize\": 4298,\n  \"Valid\": true,\n  \"Version\": 1,\n  \"Layer\": 3,\n"
              "  \"Bitrate\": 128,\n  \"SampleRate\": 44100,\n  \"Mono\": false,\n"
              "  \"ID3v2Size\": 0,\n  \"LeadingZeros\": 0,\n  \"ID3v1Size\": 128,\n"
              "  \"APESize\": 0,\n  \"LengthMs\": 261,\n  \"Length\": \"000:00:00.261\",\n"
              "  \"Title\": \"say \\\"hi\\\"\\\\\",\n  \"Artist\": \"tab\\u0009here\",\n"
              "  \"Album\": \"\",\n  \"Year\": \"\",\n  \"Comment\": \"\",\n  \"Track\": 0,\n"
              "  \"Genre\": 200,\n  \"GenreName\": \"\"\n}\n");
    // The line format keeps every field on its line.
    const TRun lines = RunCli({"info", file});
    EXPECT_NE(lines.Out.find("\nArtist: tab here\n"), std::string::npos);
    EXPECT_NE(lines.Out.find("\nGenreName: \n"), std::string::npos);
}

TEST(CliInfo, TagTextsAreReadInTheLocalesCodePage)
{
    TempDir dir;
    const std::string file =
        dir.Write("ru.mp3", Frames(H44, 3, 0) + Id3v1Fields("\xCF\xF0\xE8\xE2\xE5\xF2", "", "", "", "", 0, 0));
    EXPECT_NE(RunCli({"info", file}, {{"LANG", "ru_RU.UTF-8"}}).Out.find("\nTitle: Привет\n"),
              std::string::npos);
    EXPECT_NE(RunCli({"info", file}, {{"LANG", "de_DE.UTF-8"}}).Out.find("\nTitle: Ïðèâåò\n"),
              std::string::npos);
    // LC_ALL wins over LANG.
    EXPECT_NE(RunCli({"info", file}, {{"LANG", "de_DE.UTF-8"}, {"LC_ALL", "ru_RU.UTF-8"}})
                  .Out.find("\nTitle: Привет\n"),
              std::string::npos);
}

TEST(CliInfo, NotAnMp3StreamExitsWithOne)
{
    TempDir dir;
    const std::string file = dir.Write("notes.txt", TextBytes("plain text\n"));
    const TRun r = RunCli({"info", file});
    EXPECT_EQ(r.Exit, 1);
    EXPECT_EQ(r.Out, "FileSize: 11\nValid: false\nVersion: 0\nLayer: 0\nBitrate: 0\nSampleRate: 0\n"
                     "Mono: false\nID3v2Size: 0\nLeadingZeros: 0\nID3v1Size: 0\nAPESize: 0\n"
                     "LengthMs: 0\nLength: 000:00:00.000\n");
    EXPECT_NE(r.Err.find("not an MP3 stream"), std::string::npos);
}

TEST(CliInfo, UnreadableFilesExitWithThreeAndTheSystemsMessage)
{
    TempDir dir;
    const TRun missing = RunCli({"info", dir / "missing.mp3"});
    EXPECT_EQ(missing.Exit, 3);
    EXPECT_NE(missing.Err.find("No such file or directory"), std::string::npos);
    EXPECT_EQ(missing.Out, "");
    const TRun folder = RunCli({"info", dir / ""});
    EXPECT_EQ(folder.Exit, 3);
    EXPECT_NE(folder.Err.find("Is a directory"), std::string::npos);
}

TEST(CliUsage, WrongUseExitsWithTwoAndHelpWithZero)
{
    const std::string file = Fixtures + "/mono8k.mp3";
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {}, {"frobnicate"}, {"info"}, {"info", file, file}, {"info", "--xml", file}}) {
        const TRun r = RunCli(args);
        EXPECT_EQ(r.Exit, 2) << (args.empty() ? "" : args.back());
        EXPECT_NE(r.Err, "");
    }
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--help"}, {"info", "--help"}, {"cut", "--help"}}) {
        const TRun r = RunCli(args);
        EXPECT_EQ(r.Exit, 0);
        EXPECT_NE(r.Out.find("vivizu-cli cut [--tag|--no-tag]"), std::string::npos);
    }
}

#if !VIVIZU_HAVE_MEDIA
TEST(CliUsage, PlayWithoutPreviewSupportSaysSo)
{
    const TRun r = RunCli({"play", Fixtures + "/mono8k.mp3"});
    EXPECT_EQ(r.Exit, 2);
    EXPECT_NE(r.Err.find("preview is not built"), std::string::npos);
}
#endif
