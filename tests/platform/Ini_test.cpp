#include "platform/Ini.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <system_error>
#include <unistd.h>

using namespace vivizu;

namespace {

std::string TempPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() /
            ("vivizu_ini_" + std::to_string(getpid()) + "_" + name)).string();
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

TEST(IniReader, NamesMatchWithoutCaseAndBlanksAreDropped) {
    auto ini = TIniFile::FromText("[messages]\n  MS_OPENING   =   Opening the file  \n");
    EXPECT_EQ(ini.ReadString("Messages", "Ms_Opening").value(), "Opening the file");
    EXPECT_EQ(ini.ReadString(" MESSAGES ", "ms_opening").value(), "Opening the file");
    EXPECT_FALSE(ini.ReadString("Messages", "Ms_Info").has_value());
    EXPECT_FALSE(ini.ReadString("Other", "Ms_Opening").has_value());
    EXPECT_EQ(ini.ReadString("Other", "Ms_Opening", "none"), "none");
}

TEST(IniReader, FirstEqualsSignSplitsAndTheRestIsTheValue) {
    auto ini = TIniFile::FromText(
        "[FrmMP3Editor]\n"
        "OpenDialog1.Filter=MP3(*.mp3)|*.mp3\n"
        "Label1.Caption = a=b=c \n"
        "Empty=\n");
    auto lines = ini.ReadSection("frmmp3editor");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].Key, "OpenDialog1.Filter");
    EXPECT_EQ(lines[0].Value, "MP3(*.mp3)|*.mp3");
    EXPECT_EQ(lines[1].Key, "Label1.Caption");
    EXPECT_EQ(lines[1].Value, "a=b=c");
    EXPECT_EQ(lines[2].Value, "");
    EXPECT_EQ(ini.ReadString("FrmMP3Editor", "Empty").value(), "");
}

TEST(IniReader, SectionKeepsFileOrderDuplicatesAndSkipsCommentsAndJunk) {
    auto ini = TIniFile::FromText(
        "\xEF\xBB\xBF; a comment\r\n"
        "[A]\r\n"
        "z=1\r\n"
        "; k=ignored\r\n"
        "no equals sign here\r\n"
        "a=2\r\n"
        "Z=3\r\n"
        "[B]\r\n"
        "x=4\r\n");
    auto lines = ini.ReadSection("A");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].Key + lines[0].Value, "z1");
    EXPECT_EQ(lines[1].Key + lines[1].Value, "a2");
    EXPECT_EQ(lines[2].Key + lines[2].Value, "Z3");
    // The first line of a duplicated key wins a single read.
    EXPECT_EQ(ini.ReadString("a", "Z").value(), "1");
    EXPECT_EQ(ini.ReadString("B", "x").value(), "4");
    EXPECT_EQ(ini.SectionNames(), (std::vector<std::string>{"A", "B"}));
}

TEST(IniReader, QuotedValueLosesOnePairOfQuotes) {
    auto ini = TIniFile::FromText("[S]\na=\"  spaced  \"\nb='x'\nc=\"half\n");
    EXPECT_EQ(ini.ReadString("S", "a").value(), "  spaced  ");
    EXPECT_EQ(ini.ReadString("S", "b").value(), "x");
    EXPECT_EQ(ini.ReadString("S", "c").value(), "\"half");
}

TEST(IniReader, MissingFileIsEmpty) {
    auto ini = TIniFile::Load(TempPath("does_not_exist.ini"));
    EXPECT_TRUE(ini.SectionNames().empty());
    EXPECT_TRUE(ini.ReadSection("Messages").empty());
}

TEST(IniWriter, ReplacesAddsAndLeavesOtherLinesAlone) {
    auto ini = TIniFile::FromText("; keep me\n[Language]\nDefault = 3\nOther=x\n\n[Tail]\nk=v\n");
    ini.WriteString("LANGUAGE", "default", "0");
    ini.WriteString("Language", "New", "1");
    ini.WriteString("Fresh", "Key", "2");
    EXPECT_EQ(ini.ToText(),
              "; keep me\n[Language]\nDefault=0\nOther=x\nNew=1\n\n[Tail]\nk=v\n\n[Fresh]\nKey=2\n");
    EXPECT_EQ(ini.ReadString("language", "DEFAULT").value(), "0");
}

TEST(IniWriter, SaveRoundTripsAndKeepsLineEnds) {
    const auto path = TempPath("roundtrip.ini");
    {
        std::ofstream out(path, std::ios::binary);
        out << "[LANGUAGE]\r\nDefault=7\r\n";
    }
    auto ini = TIniFile::Load(path);
    ini.WriteString("LANGUAGE", "Default", "2");
    ini.Save(path);
    EXPECT_EQ(ReadAll(path), "[LANGUAGE]\r\nDefault=2\r\n");
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
    std::filesystem::remove(path);
}

TEST(IniWriter, FailedSaveNamesTheFileAndCreatesNothing) {
    const std::string path = TempPath("no_such_dir") + "/Vivizu.ini";
    TIniFile ini;
    ini.WriteString("LANGUAGE", "Default", "0");
    try {
        ini.Save(path);
        FAIL() << "Save into a missing folder succeeded";
    } catch (const std::system_error& e) {
        EXPECT_NE(std::string(e.what()).find(path), std::string::npos) << e.what();
    }
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(IniReader, IntegersAreDecimalOrHexadecimalAndNothingElse) {
    EXPECT_EQ(ParseInteger("4"), 4);
    EXPECT_EQ(ParseInteger("-3"), -3);
    EXPECT_EQ(ParseInteger("+12"), 12);
    EXPECT_EQ(ParseInteger("$2"), 2);
    EXPECT_EQ(ParseInteger("0x1F"), 31);
    EXPECT_EQ(ParseInteger("-$10"), -16);
    EXPECT_EQ(ParseInteger("2147483647"), 2147483647);
    EXPECT_EQ(ParseInteger("-2147483648"), -2147483647 - 1);
    for (const char* text : {"", "abc", "$", "0x", "1.5", "12a", "2147483648", "$G", " 4", "--1"})
        EXPECT_EQ(ParseInteger(text), std::nullopt) << text;

    const auto ini = TIniFile::FromText("[LANGUAGE]\nDefault = $3\nBad=abc\n");
    EXPECT_EQ(ini.ReadInteger("language", "default", 7), 3);
    EXPECT_EQ(ini.ReadInteger("LANGUAGE", "Bad", 7), 7);
    EXPECT_EQ(ini.ReadInteger("LANGUAGE", "Missing", 7), 7);
}
