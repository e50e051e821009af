// The tag code page: which one a locale gets, and conversion to and from UTF-8.
#include "platform/CodePage.h"
#include "platform/Locale.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

using namespace vivizu;

TEST(AnsiCodePageOfLocale, FollowsTheLanguage)
{
    const struct { const char* Locale; int CodePage; } cases[] = {
        {"en_US.UTF-8", 1252}, {"de_DE", 1252}, {"fr_FR.ISO-8859-15@euro", 1252},
        {"pl_PL.UTF-8", 1250}, {"cs_CZ", 1250}, {"hu_HU", 1250},
        {"ru_RU.UTF-8", 1251}, {"uk_UA", 1251}, {"bg_BG", 1251},
        {"el_GR.UTF-8", 1253}, {"tr_TR.UTF-8", 1254}, {"he_IL", 1255},
        {"ar_EG.UTF-8", 1256}, {"fa_IR", 1256}, {"lt_LT", 1257}, {"et_EE", 1257},
        {"vi_VN", 1258}, {"th_TH.UTF-8", 874}, {"ja_JP.eucJP", 932},
        {"zh_CN.UTF-8", 936}, {"ko_KR.UTF-8", 949}, {"zh_TW.Big5", 950},
    };
    for (const auto& c : cases) EXPECT_EQ(AnsiCodePageOfLocale(c.Locale), c.CodePage) << c.Locale;
}

TEST(AnsiCodePageOfLocale, ScriptChosenByTerritoryOrModifier)
{
    EXPECT_EQ(AnsiCodePageOfLocale("sr_RS.UTF-8"), 1251);
    EXPECT_EQ(AnsiCodePageOfLocale("sr_RS.UTF-8@latin"), 1250);
    EXPECT_EQ(AnsiCodePageOfLocale("sr_ME.UTF-8"), 1250);
    EXPECT_EQ(AnsiCodePageOfLocale("az_AZ.UTF-8"), 1254);
    EXPECT_EQ(AnsiCodePageOfLocale("uz_UZ.UTF-8@cyrillic"), 1251);
    EXPECT_EQ(AnsiCodePageOfLocale("zh_HK.UTF-8"), 950);
    EXPECT_EQ(AnsiCodePageOfLocale("zh_SG.UTF-8"), 936);
}

TEST(AnsiCodePageOfLocale, UnknownOrNeutralLocalesAreWestern)
{
    for (const char* name : {"C", "POSIX", "C.UTF-8", "", "hi_IN.UTF-8", "_US", "/some/path"})
        EXPECT_EQ(AnsiCodePageOfLocale(name), DefaultAnsiCodePage) << name;
}

// Sets the three locale variables for one test and restores them after.
class CodePageEnvironment : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (std::size_t i = 0; i < 3; ++i) {
            const char* v = std::getenv(Names[i]);
            if (v) Saved[i] = v;
            unsetenv(Names[i]);
        }
    }
    void TearDown() override
    {
        for (std::size_t i = 0; i < 3; ++i)
            if (Saved[i]) setenv(Names[i], Saved[i]->c_str(), 1);
            else unsetenv(Names[i]);
    }
    static constexpr const char* Names[3] = {"LC_ALL", "LC_CTYPE", "LANG"};
    std::optional<std::string> Saved[3];
};

TEST_F(CodePageEnvironment, LcAllBeforeLcCtypeBeforeLang)
{
    EXPECT_EQ(EnvLocaleName("LC_CTYPE"), "C");
    setenv("LANG", "ru_RU.UTF-8", 1);
    EXPECT_EQ(AnsiCodePage(), 1251);
    setenv("LC_CTYPE", "ja_JP.UTF-8", 1);
    EXPECT_EQ(AnsiCodePage(), 932);
    setenv("LC_ALL", "el_GR.UTF-8", 1);
    EXPECT_EQ(AnsiCodePage(), 1253);
    setenv("LC_ALL", "", 1); // an empty variable counts as unset
    EXPECT_EQ(AnsiCodePage(), 932);
}

TEST(LeadBytes, RangesOfTheDoubleByteCodePages)
{
    EXPECT_TRUE(IsLeadByte(0x81, 932));
    EXPECT_TRUE(IsLeadByte(0x9F, 932));
    EXPECT_FALSE(IsLeadByte(0xA1, 932)); // half-width katakana are single bytes
    EXPECT_TRUE(IsLeadByte(0xE0, 932));
    EXPECT_FALSE(IsLeadByte(0xFD, 932));
    for (int cp : {936, 949, 950}) {
        EXPECT_FALSE(IsLeadByte(0x80, cp));
        EXPECT_TRUE(IsLeadByte(0x81, cp));
        EXPECT_TRUE(IsLeadByte(0xFE, cp));
        EXPECT_FALSE(IsLeadByte(0xFF, cp));
    }
    for (int b = 0; b < 256; ++b) EXPECT_FALSE(IsLeadByte(static_cast<unsigned char>(b), 1252));
    EXPECT_TRUE(IsDoubleByteCodePage(949));
    EXPECT_FALSE(IsDoubleByteCodePage(1251));
}

TEST(CutToBytes, KeepsWholeCharacters)
{
    EXPECT_EQ(CutToBytes("abcdef", 4, 1252), "abcd");
    EXPECT_EQ(CutToBytes("abc", 30, 932), "abc");
    // "aあい" in Shift JIS: a 82 A0 82 A2; four bytes would end inside "い".
    EXPECT_EQ(CutToBytes("a\x82\xA0\x82\xA2", 4, 932), "a\x82\xA0");
    EXPECT_EQ(CutToBytes("a\x82\xA0\x82\xA2", 3, 932), "a\x82\xA0");
    EXPECT_EQ(CutToBytes("a\x82\xA0\x82\xA2", 2, 932), "a");
    // "亜亜" is 88 9F 88 9F: its trail byte 9F also lies in the lead range,
    // so looking only at the byte at the cut would wrongly drop it.
    EXPECT_EQ(CutToBytes("\x88\x9F\x88\x9F", 2, 932), "\x88\x9F");
    EXPECT_EQ(CutToBytes("\x88\x9F\x88\x9F", 3, 932), "\x88\x9F");
}

TEST(AnsiToUtf8, ConvertsEachCodePage)
{
    EXPECT_EQ(AnsiToUtf8("Caf\xE9 \x80", 1252), "Café €");
    EXPECT_EQ(AnsiToUtf8("\xB3\xF3" "d\xBF", 1250), "łódż");
    EXPECT_EQ(AnsiToUtf8("\xCF\xF0\xE8\xE2\xE5\xF2", 1251), "Привет");
    EXPECT_EQ(AnsiToUtf8("\xE1\xE2\xE3", 1253), "αβγ");
    EXPECT_EQ(AnsiToUtf8("\xFE\xF0\xFD", 1254), "şğı");
    EXPECT_EQ(AnsiToUtf8("\x82\xA0\xB1", 932), "あｱ");
    EXPECT_EQ(AnsiToUtf8("\xC4\xE3", 936), "你");
    EXPECT_EQ(AnsiToUtf8("\xC7\xD1", 949), "한");
    EXPECT_EQ(AnsiToUtf8("\xA4\xA4", 950), "中");
    EXPECT_EQ(AnsiToUtf8("Ti\xEA\xECng", 1258), "Tiếng"); // base letter and tone mark compose
    EXPECT_EQ(AnsiToUtf8("", 1252), "");
}

TEST(AnsiToUtf8, UndefinedBytesBecomeReplacementCharacters)
{
    EXPECT_EQ(AnsiToUtf8("a\x81z", 1252), "a\xEF\xBF\xBDz");
    EXPECT_EQ(AnsiToUtf8("ok\x82", 932), "ok\xEF\xBF\xBD"); // lead byte without its trail byte
    EXPECT_EQ(AnsiToUtf8("x\xE9", 9999), "x\xEF\xBF\xBD");  // no converter for the code page
}

TEST(Utf8ToAnsi, ConvertsAndMarksWhatCannotBeShown)
{
    EXPECT_EQ(Utf8ToAnsi("Café €", 1252), "Caf\xE9 \x80");
    EXPECT_EQ(Utf8ToAnsi("Привет", 1251), "\xCF\xF0\xE8\xE2\xE5\xF2");
    EXPECT_EQ(Utf8ToAnsi("aあ", 932), "a\x82\xA0");
    EXPECT_EQ(Utf8ToAnsi("Привет", 1252), "??????");
    EXPECT_EQ(Utf8ToAnsi("a\xC3z", 1252), "a?z");           // truncated sequence
    EXPECT_EQ(Utf8ToAnsi("\xED\xA0\x80", 1252), "???");     // an encoded surrogate
    EXPECT_EQ(Utf8ToAnsi("\xC0\xAF", 1252), "??");          // overlong "/"
}

TEST(Utf8ToAnsi, StopsBeforeTheFirstCharacterThatDoesNotFit)
{
    EXPECT_EQ(Utf8ToAnsi("あいう", 932, 5), "\x82\xA0\x82\xA2");
    EXPECT_EQ(Utf8ToAnsi("あいう", 932, 6), "\x82\xA0\x82\xA2\x82\xA4");
    EXPECT_EQ(Utf8ToAnsi("abc", 1252, 0), "");
    // One Vietnamese letter may take two bytes (base letter and tone mark).
    EXPECT_EQ(Utf8ToAnsi("ếa", 1258, 1), "");
    EXPECT_EQ(Utf8ToAnsi("Zürich", 1252, 30), "Z\xFCrich");
}

TEST(CodePageRoundTrip, TextsSurviveBothWays)
{
    const struct { int CodePage; const char* Text; } cases[] = {
        {1250, "Żółć"}, {1251, "Ёлка"}, {1252, "Œuvre"}, {1253, "Ωμέγα"}, {1254, "İstanbul"},
        {1255, "שלום"}, {1256, "سلام"}, {1257, "Ąžuolas"}, {1258, "Việt"}, {874, "สวัสดี"},
        {932, "日本語"}, {936, "中文"}, {949, "한국어"}, {950, "繁體"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(AnsiToUtf8(Utf8ToAnsi(c.Text, c.CodePage), c.CodePage), c.Text) << c.CodePage;
}
