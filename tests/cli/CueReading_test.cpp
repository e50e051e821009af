// The cue sheet reader's two steps before libcue: the sheet's encoding
// found and converted, and its lines checked and written in the strict
// form libcue reads.
#include "cli/cue/CueLines.h"
#include "cli/cue/CueText.h"

#include <gtest/gtest.h>

using namespace vivizu;

namespace {

TEST(CueText, EightBitSheetsAreReadInTheirScriptsCodePage)
{
    struct TCase {
        const char* Name;
        std::string Bytes;
        int Locale, Expected;
    };
    const TCase cases[] = {
        {"Latin words", "TITLE \"Caf\xE9 M\xFCller\"", 1252, 1252},
        {"Cyrillic words", "TITLE \"\xCF\xE5\xF1\xED\xFF \xE3\xF0\xF3\xEF\xEF\xFB\"", 1252, 1251},
        {"Cyrillic under a Greek locale is Greek", "TITLE \"\xCA\xE1\xEB\xE7\xEC\xDD\xF1\xE1\"", 1253, 1253},
        {"Latin under a Cyrillic locale", "TITLE \"Caf\xE9\"", 1251, 1252},
        {"Polish under a Polish locale", "TITLE \"Za\xBF\xF3\xB3\xE6 g\xEA\xB6l\xB9\"", 1250, 1250},
        {"a double-byte locale", "TITLE \"\x89\xB9\x8A\x79\"", 932, 932},
        {"one accented letter alone", "TITLE \"\xE0 la\"", 1252, 1252},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(CueSheetCodePage(c.Bytes, c.Locale), c.Expected) << c.Name;
}

TEST(CueText, UnicodeSheetsAreConvertedToUtf8)
{
    struct TCase {
        const char* Name;
        std::string Bytes;
        std::string Utf8;
    };
    using namespace std::string_literals;
    const TCase cases[] = {
        {"UTF-8 with its mark", "\xEF\xBB\xBFGr\xC3\xBC\xC3\x9F", "Gr\xC3\xBC\xC3\x9F"},
        {"UTF-16 LE", "\xFF\xFE" "A\0\xE9\0"s, "A\xC3\xA9"},
        {"UTF-16 BE, a pair of surrogates", "\xFE\xFF\xD8\x3D\xDE\x00"s, "\xF0\x9F\x98\x80"},
        {"UTF-16 LE, an unpaired surrogate, an odd last byte", "\xFF\xFE\x00\xD8" "A\0B"s, "\xEF\xBF\xBD" "A"},
        {"UTF-16 LE without its mark", "T\0I\0T\0L\0E\0"s, "TITLE"},
        {"Windows-1252", "Caf\xE9", "Caf\xC3\xA9"},
    };
    for (const TCase& c : cases) {
        EXPECT_EQ(CueSheetUtf8(c.Bytes, 1252), c.Utf8) << c.Name;
        EXPECT_TRUE(IsUtf8(CueSheetUtf8(c.Bytes, 1252))) << c.Name;
    }
    EXPECT_FALSE(IsUtf8("\xC0\xAF"));     // overlong
    EXPECT_FALSE(IsUtf8("\xED\xA0\x80")); // a surrogate
    EXPECT_FALSE(IsUtf8("\xE2\x82"));     // cut short
}

TEST(CueLines, SheetsAreRewrittenInTheFormLibcueReads)
{
    const TCueLines lines = CleanCueLines("rem anything at all\n"
                                          "title Say \"hi\" \\\r\n"
                                          "FILE My Album.wav WAVE\r"
                                          "  Track 7 audio\n"
                                          "    INDEX 1 1:02:3\n"
                                          "    FLAGS DCP\n"
                                          "  TRACK 08 MODE1/2352\n"
                                          "    INDEX 01 4500");
    ASSERT_EQ(lines.Declined, "");
    EXPECT_EQ(lines.Text, "\nTITLE \"Say 'hi' \"\nFILE \"My Album.wav\" WAVE\nTRACK 01 AUDIO\nINDEX 01 01:02:03\n\n"
                          "TRACK 02 MODE1/2352\nINDEX 01 01:00:00\n");
    EXPECT_EQ(lines.TrackLines, (std::vector<int>{4, 7}));
    EXPECT_EQ(lines.Files, std::vector<std::string>{"My Album.wav"});
    EXPECT_EQ(CleanCueLines("FILE My Album.mp3\nTRACK 1 AUDIO\nINDEX 1 0\n").Files,
              std::vector<std::string>{"My Album.mp3"}); // no type
    // A track before any FILE line is in the input.
    EXPECT_EQ(CleanCueLines("TRACK 01 AUDIO\nINDEX 01 00:00:00\n").Text,
              "FILE \"\" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n");
}

TEST(CueLines, WhatCannotBeSplitIsDeclinedWithItsLine)
{
    const std::pair<std::string, std::string> cases[] = {
        {"FILE a WAVE\nFILE b WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n",
         "line 2: a second FILE line before any TRACK of the FILE on line 1"},
        {"FILE a WAVE\nTRACK AUDIO\n", "line 2: TRACK needs its number"},
        {"FILE a WAVE\nTRACK 1 AUDIO\nINDEX 100 00:00:00\n", "line 3: INDEX needs its number (00 to 99)"},
        {"FILE a WAVE\nTRACK 1 AUDIO\nINDEX 01 00:00:99\n",
         "line 3: the INDEX time 00:00:99 has frame 99 (a second has 75 frames: 00 to 74)"},
        {"FILE a WAVE\nTRACK 1 AUDIO\nINDEX 01 99999:00:00\n",
         "line 3: the INDEX time '99999:00:00' is not minutes:seconds:frames"},
        {"FILE a WAVE\nTRACK 1 AUDIO\n", "line 2: track 1 has no INDEX 01 (nor INDEX 00)"},
        {"REM only\n", "no TRACK lines"},
    };
    for (const auto& [sheet, declined] : cases) {
        const TCueLines lines = CleanCueLines(sheet);
        EXPECT_EQ(lines.Declined, declined) << sheet;
        EXPECT_EQ(lines.Text, "") << sheet;
    }
}

} // namespace
