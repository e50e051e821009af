#include "platform/Locale.h"

#include <gtest/gtest.h>

using namespace vivizu;

TEST(Locale, SeparatorsFollowTheLanguageAndTerritory) {
    EXPECT_EQ(TableNumberSeparators("en_US.UTF-8").Decimal, ".");
    EXPECT_EQ(TableNumberSeparators("en_US.UTF-8").Thousands, ",");
    EXPECT_EQ(TableNumberSeparators("de_DE.UTF-8").Decimal, ",");
    EXPECT_EQ(TableNumberSeparators("de_DE.UTF-8").Thousands, ".");
    EXPECT_EQ(TableNumberSeparators("de_CH").Decimal, ".");
    EXPECT_EQ(TableNumberSeparators("de_CH.UTF-8").Thousands, "'");
    EXPECT_EQ(TableNumberSeparators("fr_FR@euro").Thousands, "\xC2\xA0");
    // Unknown languages and the C locale get the English forms.
    EXPECT_EQ(TableNumberSeparators("xx_YY").Decimal, ".");
    EXPECT_EQ(NumberSeparatorsOf("C").Thousands, ",");
    EXPECT_EQ(NumberSeparatorsOf("POSIX").Decimal, ".");
    EXPECT_EQ(NumberSeparatorsOf("C.UTF-8").Thousands, ",");
}

TEST(Locale, SeparatorsAreNeverEmpty) {
    for (const char* name : {"", "C", "ja_JP.UTF-8", "it_IT", "sv_SE.UTF-8", "nonsense"}) {
        const auto s = NumberSeparatorsOf(name);
        EXPECT_FALSE(s.Decimal.empty()) << name;
        EXPECT_FALSE(s.Thousands.empty()) << name;
    }
}

TEST(Locale, EnglishNameOfTheLanguage) {
    EXPECT_EQ(LanguageEnglishName("en_GB.UTF-8"), "English");
    EXPECT_EQ(LanguageEnglishName("DE_at"), "German");
    EXPECT_EQ(LanguageEnglishName("zh_TW.Big5"), "Chinese");
    EXPECT_EQ(LanguageEnglishName("ja_JP.eucJP"), "Japanese");
    EXPECT_EQ(LanguageEnglishName("sr_RS@latin"), "Serbian");
    EXPECT_EQ(LanguageEnglishName("nl"), "Dutch");
    EXPECT_EQ(LanguageEnglishName("C"), "");
    EXPECT_EQ(LanguageEnglishName("POSIX"), "");
    EXPECT_EQ(LanguageEnglishName("xx_YY"), "");
}
