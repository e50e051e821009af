// vivizu-cli split --cue on sheets as other programs write them: their
// encodings and line ends, unquoted words, lines the split does not use,
// the audio named by another name, and the refusals, each one clear line.
#include "CliRunner.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

using namespace clitest;
using namespace vivizu::test;

namespace {

// The UTF-16 bytes of UTF-8 text (characters of the first plane only),
// with a byte-order mark.
Bytes Utf16(const std::string& utf8, bool bigEndian)
{
    std::vector<char16_t> units{u'\uFEFF'};
    for (size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const int length = b < 0x80 ? 1 : b < 0xE0 ? 2 : 3;
        char16_t unit = length == 1 ? b : length == 2 ? b & 0x1F : b & 0x0F;
        for (int k = 1; k < length; ++k)
            unit = static_cast<char16_t>((unit << 6) | (utf8[i + k] & 0x3F));
        units.push_back(unit);
        i += length;
    }
    Bytes bytes;
    for (const char16_t unit : units) {
        const auto high = static_cast<uint8_t>(unit >> 8), low = static_cast<uint8_t>(unit & 0xFF);
        bytes.push_back(bigEndian ? high : low);
        bytes.push_back(bigEndian ? low : high);
    }
    return bytes;
}

class CueSheetsAsWritten : public ::testing::Test {
protected:
    TempDir Dir;
    const std::string In = Dir.Write("album.mp3", Frames(H44, 200, 0)); // 5.2 s

    TRun Split(const Bytes& sheet, std::vector<std::string> more = {})
    {
        Dir.Write("album.cue", sheet);
        std::vector<std::string> args{"split", "--cue", Dir / "album.cue", "-d", Dir.Path()};
        args.insert(args.end(), more.begin(), more.end());
        args.push_back(In);
        return RunCli(args);
    }
    // The ID3v1 field of a written piece: offset and length in its tag.
    std::string TagField(const std::string& piece, size_t offset, size_t length) const
    {
        const Bytes bytes = ReadAll(Dir / piece);
        const std::string tag(bytes.end() - 128, bytes.end());
        const std::string field = tag.substr(offset, length);
        return field.substr(0, field.find('\0'));
    }
};

// Two tracks named A and B, as a sheet writer in the wild would give them.
const std::string Plain = "FILE \"album.mp3\" MP3\n  TRACK 01 AUDIO\n    TITLE \"First Song\"\n"
                          "    INDEX 01 00:00:00\n  TRACK 02 AUDIO\n    TITLE \"Second Song\"\n"
                          "    INDEX 01 00:02:00\n";

std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

TEST_F(CueSheetsAsWritten, EncodingsAndLineEndsGiveTheSameTracks)
{
    const std::string cafe = Replaced(Plain, "First Song", "Caf\xC3\xA9 Song");
    const std::string song = "\xD0\x9F\xD0\xB5\xD1\x81\xD0\xBD\xD1\x8F"; // "song" in Russian
    const std::string russian = Replaced(Plain, "First Song", song);
    struct TCase {
        const char* Name;
        Bytes Sheet;
        std::string FirstTitle;
    };
    const std::vector<TCase> cases{
        {"no newline at the end", TextBytes(Plain.substr(0, Plain.size() - 1)), "First Song"},
        {"CR line ends", TextBytes(Replaced(Plain, "\n", "\r")), "First Song"},
        {"CR LF line ends", TextBytes(Replaced(Plain, "\n", "\r\n")), "First Song"},
        {"UTF-8 byte-order mark", TextBytes("\xEF\xBB\xBF" + Plain), "First Song"},
        {"UTF-8", TextBytes(cafe), "Caf\xC3\xA9 Song"},
        {"Windows-1252", TextBytes(Replaced(Plain, "First Song", "Caf\xE9 Song")), "Caf\xC3\xA9 Song"},
        {"Windows-1251", TextBytes(Replaced(Plain, "First Song", "\xCF\xE5\xF1\xED\xFF")), song},
        {"UTF-16 LE", Utf16(cafe, false), "Caf\xC3\xA9 Song"},
        {"UTF-16 BE", Utf16(russian, true), song},
        {"unquoted words", TextBytes(Replaced(Plain, "\"First Song\"", "First Song")), "First Song"},
        {"lines the split does not use",
         TextBytes("REM GENRE Alternative Rock\nREM DATE 1999\nREM COMMENT ExactAudioCopy v1.0 beta\n"
                   "CATALOG 0724384960650\nCDTEXTFILE \"album.cdt\"\n" +
                   Replaced(Plain, "    INDEX 01 00:02:00",
                            "    FLAGS DCP PRE\n    ISRC GBAYE9900001\n    PREGAP 00:00:10\n"
                            "    SONGWRITER Some One\n    INDEX 01 00:02:00\n    POSTGAP 00:00:01")),
         "First Song"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TRun r = Split(c.Sheet, {"-o", "{n} {title}.mp3", "--dry-run"});
        EXPECT_EQ(r.Exit, 0);
        EXPECT_EQ(r.Err, ""); // nothing of the parser's own
        EXPECT_NE(r.Out.find("1 " + c.FirstTitle + ".mp3"), std::string::npos) << r.Out;
        EXPECT_NE(r.Out.find("2 Second Song.mp3"), std::string::npos) << r.Out;
        EXPECT_NE(r.Out.find("000:00:02.011"), std::string::npos) << r.Out;
    }
}

// "Café" from a Windows-1252 sheet is é in the ID3v1 tag (Latin-1), not '?'.
TEST_F(CueSheetsAsWritten, TagsGetTheSheetsCharacters)
{
    const TRun r = Split(TextBytes("TITLE \"Caf\xE9 Album\"\nPERFORMER \"M\xF6tley Band\"\n" + Plain),
                         {"-o", "p{n}.mp3", "--write-cue", Dir / "pieces.cue"});
    ASSERT_EQ(r.Exit, 0) << r.Err;
    EXPECT_EQ(TagField("p1.mp3", 3, 30), "First Song");
    EXPECT_EQ(TagField("p1.mp3", 33, 30), "M\xF6tley Band");
    EXPECT_EQ(TagField("p2.mp3", 63, 30), "Caf\xE9 Album"); // the sheet's album title
    // The written sheet carries the album's title and performer, in UTF-8.
    const Bytes written = ReadAll(Dir / "pieces.cue");
    const std::string text(written.begin(), written.end());
    EXPECT_EQ(text.find("TITLE \"Caf\xC3\xA9 Album\"\nPERFORMER \"M\xC3\xB6tley Band\"\nFILE "), 0u) << text;
}

TEST_F(CueSheetsAsWritten, OneFileOfAnotherNameIsTheInputWithANote)
{
    const TRun r = Split(TextBytes(Replaced(Plain, "\"album.mp3\" MP3", "\"Artist - Album\\01.wav\" WAVE")),
                         {"-o", "p{n}.mp3"});
    ASSERT_EQ(r.Exit, 0) << r.Err;
    EXPECT_NE(r.Err.find("note: "), std::string::npos) << r.Err;
    EXPECT_NE(r.Err.find("Artist - Album\\01.wav"), std::string::npos) << r.Err;
    EXPECT_TRUE(Exists(Dir / "p2.mp3"));
    // Two files of other names stay declined.
    const TRun two = Split(TextBytes("FILE \"one.wav\" WAVE\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n"
                                     "FILE \"two.wav\" WAVE\n  TRACK 02 AUDIO\n    INDEX 01 00:00:00\n"),
                           {"-o", "q{n}.mp3"});
    EXPECT_EQ(two.Exit, 1);
    EXPECT_NE(two.Err.find("another file"), std::string::npos) << two.Err;
    EXPECT_FALSE(Exists(Dir / "q1.mp3"));
}

TEST_F(CueSheetsAsWritten, OnlyIndex00IsUsedWithANote)
{
    const TRun r = Split(TextBytes(Replaced(Plain, "INDEX 01 00:02:00", "INDEX 00 00:02:00")), {"-o", "p{n}.mp3"});
    ASSERT_EQ(r.Exit, 0) << r.Err;
    EXPECT_NE(r.Err.find("note: "), std::string::npos) << r.Err;
    EXPECT_NE(r.Err.find("INDEX 00"), std::string::npos) << r.Err;
}

// Each refusal is one line with the sheet's line number, and nothing is written.
TEST_F(CueSheetsAsWritten, RefusalsNameTheLine)
{
    std::string hundred = "FILE \"album.mp3\" MP3\n";
    for (int i = 0; i < 100; ++i) { // 40 ms apart: all within the input
        char track[64];
        std::snprintf(track, sizeof track, "  TRACK %02d AUDIO\n    INDEX 01 00:%02d:%02d\n", i + 1, i * 3 / 75,
                      i * 3 % 75);
        hundred += track;
    }
    struct TCase {
        const char* Name;
        std::string Sheet;
        std::string Says;
    };
    const std::vector<TCase> cases{
        {"frame 75", Replaced(Plain, "00:02:00", "00:01:75"), "line 7: "},
        {"second 60", Replaced(Plain, "00:02:00", "00:60:00"), "line 7: "},
        {"no time", Replaced(Plain, "00:02:00", "two"), "line 7: "},
        {"index before any track", "INDEX 01 00:00:00\n" + Plain, "line 1: "},
        {"track without an index", Replaced(Plain, "    INDEX 01 00:02:00\n", ""), "line 5: "},
        {"more than 99 tracks", hundred, "line 200: "},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        const TRun r = Split(TextBytes(c.Sheet), {"-o", "p{n}.mp3"});
        EXPECT_EQ(r.Exit, 1);
        EXPECT_NE(r.Err.find(c.Says), std::string::npos) << r.Err;
        EXPECT_EQ(r.Err.find('\n'), r.Err.size() - 1) << r.Err; // one line
        EXPECT_FALSE(Exists(Dir / "p1.mp3"));
    }
    EXPECT_NE(Split(TextBytes(hundred)).Err.find("99"), std::string::npos);
}

} // namespace
