// The language choice: the settings file, where it lives, and the system
// language that decides when it holds no choice.
#include "I18nTestSupport.h"

#include "i18n/Language.h"
#include "i18n/Settings.h"
#include "platform/ProgramFolder.h"

#include <gtest/gtest.h>
#include <system_error>

using namespace vivizu;
using namespace vivizu::test;

namespace {

// Sets the program folder to a scratch folder for one test.
class LanguageSetting : public ::testing::Test {
protected:
    LanguageSetting() { SetProgramFolder(Folder.Path); }
    ~LanguageSetting() override { SetProgramFolder(std::string()); }

    int ReadWith(const std::string& settings) {
        Folder.Write("Vivizu.ini", settings);
        CurrentLanguage = 3;
        ReadLanguageSetting();
        return CurrentLanguage;
    }

    TScratch Folder;
};

} // namespace

TEST_F(LanguageSetting, StoredValuesAreReadClampedOrTakenAsNoChoice) {
    CurrentLanguage = 3;
    ReadLanguageSetting();  // no settings file
    EXPECT_EQ(CurrentLanguage, 7);
    EXPECT_EQ(ReadWith("[LANGUAGE]\nDefault=2\n"), 2);
    EXPECT_EQ(ReadWith("[language]\r\n  default = 4 \r\n"), 4);
    EXPECT_EQ(ReadWith("[LANGUAGE]\nDefault=9\n"), 7);
    EXPECT_EQ(ReadWith("[LANGUAGE]\nDefault=-3\n"), 0);
    EXPECT_EQ(ReadWith("[LANGUAGE]\nDefault=abc\n"), 7);
    EXPECT_EQ(ReadWith("[LANGUAGE]\nDefault=$2\n"), 2);
    EXPECT_EQ(ReadWith("[LANGUAGE]\nDefault=0x1\n"), 1);
    EXPECT_EQ(ReadWith("[LANGUAGE]\nDefault=\n"), 7);
    EXPECT_EQ(ReadWith("[OTHER]\nDefault=1\n"), 7);
    EXPECT_EQ(ReadWith("\x01\x02 not an ini file \xFF"), 7);
}

TEST_F(LanguageSetting, WritingKeepsTheFileOtherLinesAndCreatesWhatIsMissing) {
    CurrentLanguage = 5;
    WriteLanguageSetting();
    EXPECT_EQ(Folder.Read("Vivizu.ini"), "[LANGUAGE]\nDefault=5\n");

    Folder.Write("Vivizu.ini", "; mine\r\n[OPTIONS]\r\nLastFolder=/music\r\n[Language]\r\nDEFAULT=1\r\n");
    CurrentLanguage = 7;
    WriteLanguageSetting();
    EXPECT_EQ(Folder.Read("Vivizu.ini"),
              "; mine\r\n[OPTIONS]\r\nLastFolder=/music\r\n[Language]\r\nDEFAULT=7\r\n");
    ReadLanguageSetting();
    EXPECT_EQ(CurrentLanguage, 7);
}

TEST_F(LanguageSetting, AFileThatCannotBeWrittenIsReportedByNameAndLeftAlone) {
    std::filesystem::create_directories(Folder.Path + "Vivizu.ini");
    CurrentLanguage = 1;
    try {
        WriteLanguageSetting();
        ADD_FAILURE() << "no error";
    } catch (const std::system_error& error) {
        EXPECT_NE(std::string(error.what()).find(Folder.Path + "Vivizu.ini"), std::string::npos)
            << error.what();
    }
    EXPECT_TRUE(std::filesystem::is_directory(Folder.Path + "Vivizu.ini"));
    EXPECT_FALSE(std::filesystem::exists(Folder.Path + "Vivizu.ini.tmp"));
}

TEST(SettingsFile, BesideTheProgramUnlessItsFolderCannotBeWritten) {
    TScratch program, config;
    setenv("XDG_CONFIG_HOME", config.Path.c_str(), 1);
    EXPECT_EQ(SettingsFileFor(program.Path, true), program.Path + "Vivizu.ini");
    EXPECT_EQ(SettingsFileFor(program.Path, false), config.Path + "vivizu/Vivizu.ini");
    // A settings file already beside the program stays the one in use.
    program.Write("Vivizu.ini", "[LANGUAGE]\nDefault=1\n");
    EXPECT_EQ(SettingsFileFor(program.Path, false), program.Path + "Vivizu.ini");
    // A program in the root folder: no doubled "/".
    EXPECT_EQ(SettingsFileFor(WithTrailingSlash("/"), true), "/Vivizu.ini");

    // XDG_CONFIG_HOME must be absolute; otherwise ~/.config.
    setenv("XDG_CONFIG_HOME", "relative/config", 1);
    setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(UserSettingsFolder(), "/home/someone/.config/vivizu/");
    unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(UserSettingsFolder(), "/home/someone/.config/vivizu/");
}

TEST(SystemLanguage, EnglishNamesComeFromTheLanguageCode) {
    EXPECT_EQ(LocaleLanguageEnglishName("en_GB.UTF-8"), "English");
    EXPECT_EQ(LocaleLanguageEnglishName("DE_at"), "German");
    EXPECT_EQ(LocaleLanguageEnglishName("zh_TW.Big5"), "Chinese");
    EXPECT_EQ(LocaleLanguageEnglishName("ja_JP.eucJP"), "Japanese");
    EXPECT_EQ(LocaleLanguageEnglishName("sr_RS@latin"), "Serbian");
    EXPECT_EQ(LocaleLanguageEnglishName("nl"), "Dutch");
    for (const char* none : {"C", "POSIX", "C.UTF-8", "xx_YY", ""})
        EXPECT_EQ(LocaleLanguageEnglishName(none), "") << none;
    // "Central Atlas Tamazight" does not fit the system's 19 characters.
    EXPECT_EQ(LocaleLanguageEnglishName("tzm_MA.UTF-8"), "");
}

TEST(SystemLanguage, TheSystemFileNamesTheLanguage) {
    TScratch etc;
    setenv("LANG", "de_DE.UTF-8", 1);
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    auto from = [&](const std::string& text) {
        return LanguageFromLocale({etc.Write("locale.conf", text)});
    };
    EXPECT_EQ(from("LANG=en_US.UTF-8\n"), 0);
    EXPECT_EQ(from("LANG=ja_JP.UTF-8\n"), 6);
    EXPECT_EQ(from("LANG=nl_NL.UTF-8\n"), 7);
    EXPECT_EQ(from("LANG=tzm_MA.UTF-8\n"), 7);
    EXPECT_EQ(from("LANG=fr_CA.UTF-8\nLC_MESSAGES=zh_CN.GB2312\n"), 5);
    EXPECT_EQ(from("LANG=gsw_CH.UTF-8\n"), 2);  // Swiss German
    // No language in the file: the environment's German.
    EXPECT_EQ(from("LANG=C\n"), 2);
    EXPECT_EQ(LanguageFromLocale({etc.Path + "missing"}), 2);
    unsetenv("LANG");
    EXPECT_EQ(LanguageFromLocale({etc.Path + "missing"}), 7);
}

TEST(LanguageTable, FilesByNumberWithEnglishForTheRest) {
    const char* files[] = {"English", "Spanish", "German", "Italian", "French"};
    for (int n = 0; n < 5; ++n)
        EXPECT_EQ(LanguageFileName(n), std::string("Languages/") + files[n] + ".isl");
    for (int other : {5, 6, 7})
        EXPECT_EQ(LanguageFileName(other), "Languages/English.isl");
    CurrentLanguage = 2;
    EXPECT_EQ(LanguageFileName(), "Languages/German.isl");
    CurrentLanguage = NoLanguageChosen;
}
