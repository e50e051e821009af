// Message texts from the language file, and the file shipped with the program.
#include "i18n/Language.h"
#include "i18n/Messages.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

using namespace vivizu;

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

std::string WriteTemp(const std::string& text) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("vivizu_msg_" + std::to_string(getpid()) + ".isl");
    std::ofstream(path, std::ios::binary) << text;
    return path.string();
}

} // namespace

TEST(LoadMessages, ReadsEveryKeyWithoutRegardToCaseAndExpandsOnlyNotSaveName) {
    const auto path = WriteTemp(
        "[FrmMP3Editor]\nLabel1.Caption=x\n"
        "[MESSAGES]\n"
        "ms_opening = Opening #13#10 now \n"
        "Ms_Waiting=Saving\n"
        "Ms_Error=Err\nMs_Info=Info\nMs_Mono=M\nMs_Stereo=S\n"
        "Ms_NotMP3=Not=MP3\n"
        "Ms_NotSaveName=Same file:#13#10\n"
        "Ms_NotSave=Failed\n");
    TMessageTexts texts;
    LoadMessages(texts, path);
    EXPECT_EQ(texts.Opening, "Opening #13#10 now");
    EXPECT_EQ(texts.Waiting, "Saving");
    EXPECT_EQ(texts.Error, "Err");
    EXPECT_EQ(texts.Info, "Info");
    EXPECT_EQ(texts.Mono, "M");
    EXPECT_EQ(texts.Stereo, "S");
    EXPECT_EQ(texts.NotMP3, "Not=MP3");
    EXPECT_EQ(texts.NotSaveName, "Same file:\r\n");
    EXPECT_EQ(texts.NotSave, "Failed");
    std::filesystem::remove(path);
}

TEST(LoadMessages, MissingFileOrKeyEmptiesTheTexts) {
    TMessageTexts texts;
    texts.Opening = "old";
    texts.NotSave = "old";
    const auto path = WriteTemp("[Messages]\nMs_Opening=New\n");
    LoadMessages(texts, path);
    EXPECT_EQ(texts.Opening, "New");
    EXPECT_EQ(texts.NotSave, "");
    LoadMessages(texts, path + ".missing");
    EXPECT_EQ(texts.Opening, "");
    std::filesystem::remove(path);
}

TEST(LoadMessages, TextThatIsNotUtf8IsReadInTheAnsiCodePage) {
    EXPECT_EQ(DecodeLanguageText("Espa\xC3\xB1ol"), QString::fromUtf8("Espa\u00f1ol"));
    // Latin-1 bytes under the default western code page.
    unsetenv("LC_ALL");
    unsetenv("LC_CTYPE");
    unsetenv("LANG");
    EXPECT_EQ(DecodeLanguageText("Espa\xF1ol"), QString::fromUtf8("Espa\u00f1ol"));
}

TEST(LoadMessages, ExpandLineBreaksReplacesEveryMarker) {
    EXPECT_EQ(ExpandLineBreaks("a#13#10b#13#10"), "a\r\nb\r\n");
    EXPECT_EQ(ExpandLineBreaks("#13#1"), "#13#1");
}

TEST(ShippedEnglishFile, HasWordsForEveryMessage) {
    TMessageTexts texts;
    LoadMessages(texts, std::string(VIVIZU_SOURCE_DIR) + "/resources/Languages/English.isl");
    for (const QString* text : {&texts.Opening, &texts.Waiting, &texts.Error, &texts.Info,
                                &texts.Mono, &texts.Stereo, &texts.NotMP3, &texts.NotSaveName,
                                &texts.NotSave, &texts.SplitWriting, &texts.SplitDone,
                                &texts.NoSilence})
        EXPECT_FALSE(text->trimmed().isEmpty());
    EXPECT_TRUE(texts.NotSaveName.endsWith("\r\n"));
}
