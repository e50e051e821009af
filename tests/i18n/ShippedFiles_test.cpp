// The five language files shipped with the program: each is UTF-8, has
// every section and key, and keeps its accelerators apart.
#include "I18nTestSupport.h"

#include "i18n/Language.h"
#include "i18n/LanguageFile.h"
#include "i18n/Messages.h"

#include <QStringDecoder>
#include <gtest/gtest.h>
#include <map>
#include <set>

using namespace vivizu;
using namespace vivizu::test;

namespace {

std::string SourceFile(const TLanguage& language) {
    return std::string(VIVIZU_SOURCE_DIR) + "/resources/" + language.File;
}

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The keys every file carries, by section.
const std::map<std::string, std::vector<std::string>>& RequiredKeys() {
    static const std::map<std::string, std::vector<std::string>> keys{
        {"Messages",
         {"Ms_Opening", "Ms_Waiting", "Ms_Error", "Ms_Info", "Ms_Mono", "Ms_Stereo", "Ms_NotMP3",
          "Ms_NotSaveName", "Ms_NotSave", "Ms_SplitWriting", "Ms_SplitDone", "Ms_NoSilence",
          "Ms_Preparing", "Ms_NotPlay", "Ms_EmptySelection", "Ms_Saved", "Ms_SplitCancelled"}},
        {"FrmMP3Editor",
         {"Label11.Caption", "Label28.Caption", "RzBmpButton1.Hint", "RzBmpButton2.Hint",
          "ImageStart.Hint", "ImageEnd.Hint", "LabelStart.Caption", "LabelEnd.Caption",
          "BtnPlayStart.Caption", "BtnStop.Caption", "TabSheet2.Caption", "Label23.Caption",
          "Label13.Caption", "Label14.Caption", "Label15.Caption", "Label16.Caption",
          "Label17.Caption", "TabSheet1.Caption", "RzCheckBox1.Caption", "Label3.Caption",
          "Label4.Caption", "Label5.Caption", "Label9.Caption", "Label8.Caption",
          "Label6.Caption", "Label7.Caption", "Label25.Caption", "OpenDialog1.Title",
          "OpenDialog1.Filter", "SaveDialog1.Title", "SaveDialog1.Filter",
          "PM_English.Caption", "PM_Spanish.Caption", "PM_German.Caption",
          "PM_Italian.Caption", "PM_French.Caption", "Label29.Caption",
          "PM_KeepID3v2.Caption", "PM_LengthHeader.Caption", "PM_ExactCut.Caption",
          "PM_SnapToQuiet.Caption", "PM_SplitSilence.Caption", "PM_Volume.Caption",
          "BtnOpenMp3.AccessibleName", "BtnOpenMp3.AccessibleDescription",
          "BtnSaveMp3.AccessibleName", "BtnSaveMp3.AccessibleDescription", "BtnAbout.AccessibleName",
          "RzBmpButton1.AccessibleName", "RzBmpButton2.AccessibleName", "TrackBarPos.AccessibleName",
          "TrackBarPos.AccessibleDescription", "RzMaskEdit1.AccessibleName",
          "RzMaskEdit1.AccessibleDescription", "RzMaskEdit2.AccessibleName",
          "RzMaskEdit2.AccessibleDescription", "OverviewBand.AccessibleName",
          "OverviewSpeech.SelectionWords", "OverviewSpeech.SnapStartWords",
          "OverviewSpeech.SnapEndWords", "PM_RemoveSelection.Caption", "PM_Undo.Caption",
          "PM_Redo.Caption", "PM_EditList.Caption", "OverviewSpeech.RemovedWords",
          "PM_WideOverview.Caption", "WideOverview.AccessibleName"}},
        {"FrmEditList",
         {"LabelTitle.Caption", "Headers", "KeptWords", "ReadFailedWords", "WriteFailedWords", "SameFileWords",
          "ErrorCaption", "ListRemoved.AccessibleName", "BtnPutBack.Caption", "BtnImport.Caption",
          "BtnExport.Caption", "BtnOk.Caption", "BtnSysClose.Hint", "OpenDialog1.Title",
          "OpenDialog1.Filter", "SaveDialog1.Title", "SaveDialog1.Filter"}},
        {"FrmSplit",
         {"LabelTitle.Caption", "LabelThreshold.Caption", "LabelMinPause.Caption", "LabelPieces.Caption",
          "SpinThreshold.AccessibleName", "SpinMinPause.AccessibleName", "LabelPiecesValue.AccessibleName",
          "BtnOk.Caption", "BtnCancel.Caption", "BtnSysClose.Hint"}},
        {"FrmVolume",
         {"LabelTitle.Caption", "LabelGain.Caption", "LabelFadeIn.Caption", "LabelFadeOut.Caption",
          "CheckNormalize.Caption", "LabelLoudness.Caption", "BtnOk.Caption", "BtnCancel.Caption", "BtnSysClose.Hint"}},
        {"FrmPlayMsg",
         {"RadioButton1.Caption", "RadioButton2.Caption", "RadioButton3.Caption",
          "RadioButton4.Caption", "BtnOk.Caption", "BtnCancel.Caption", "BtnSysClose.Hint"}},
        {"FrmAbout",
         {"RzLabel1.Caption", "RzLabel2.Caption", "RzURLLabel1.Caption", "RzURLLabel2.Caption",
          "Label1.Caption", "BtnOk.Caption", "BtnSysClose.Hint"}},
    };
    return keys;
}

} // namespace

TEST(ShippedFiles, AreUtf8WithEverySectionAndKeyOnceAndNoEmptyText) {
    for (const auto& language : Languages) {
        SCOPED_TRACE(language.File);
        const std::string bytes = Bytes(SourceFile(language));
        ASSERT_FALSE(bytes.empty());
        QStringDecoder utf8(QStringDecoder::Utf8);
        (void)QString(utf8(QByteArrayView(bytes.data(), qsizetype(bytes.size()))));
        EXPECT_FALSE(utf8.hasError());

        const TIniFile ini = LoadLanguageFile(SourceFile(language));
        std::set<std::string> sections;
        for (const auto& name : ini.SectionNames())
            EXPECT_TRUE(sections.insert(name).second) << "section twice: " << name;
        for (const auto& [section, keys] : RequiredKeys()) {
            const auto lines = ini.ReadSection(section);
            std::set<std::string> present;
            for (const auto& line : lines) {
                EXPECT_TRUE(present.insert(line.Key).second) << section << ": twice " << line.Key;
                if (line.Key != "RzLabel2.Caption") {
                    EXPECT_FALSE(line.Value.empty()) << section << ": " << line.Key;
                }
            }
            for (const auto& key : keys)
                EXPECT_TRUE(present.count(key)) << section << ": missing " << key;
            EXPECT_EQ(present.size(), keys.size()) << section << ": keys nobody reads";
        }
        EXPECT_TRUE(ini.ReadString("Messages", "Ms_NotSaveName", "").ends_with("#13#10"));
    }
}

TEST(ShippedFiles, GiveEveryMessageAndEndTheTargetNameMessageWithALineBreak) {
    for (const auto& language : Languages) {
        SCOPED_TRACE(language.File);
        TMessageTexts texts;
        LoadMessages(texts, SourceFile(language));
        for (const QString* text : {&texts.Opening, &texts.Waiting, &texts.Error, &texts.Info,
                                    &texts.Mono, &texts.Stereo, &texts.NotMP3,
                                    &texts.NotSaveName, &texts.NotSave})
            EXPECT_FALSE(text->trimmed().isEmpty());
        EXPECT_TRUE(texts.NotSaveName.endsWith("\r\n"));
        EXPECT_FALSE(texts.NotSaveName.contains("#13#10"));
    }
}

// Within one window no two captions share an accelerator, and the buttons
// that have one in the design keep one.
TEST(ShippedFiles, AcceleratorsAreKeptAndUniqueWithinEachWindow) {
    const std::map<std::string, std::vector<std::string>> withAccelerator{
        {"FrmMP3Editor", {"BtnPlayStart.Caption", "BtnStop.Caption", "Label28.Caption", "Label29.Caption"}},
        {"FrmPlayMsg", {"BtnOk.Caption", "BtnCancel.Caption"}},
        {"FrmAbout", {"BtnOk.Caption"}},
        {"FrmVolume", {"BtnOk.Caption", "BtnCancel.Caption"}},
        {"FrmEditList", {"BtnPutBack.Caption", "BtnImport.Caption", "BtnExport.Caption", "BtnOk.Caption"}},
    };
    for (const auto& language : Languages) {
        const TIniFile ini = LoadLanguageFile(SourceFile(language));
        for (const auto& [section, keys] : withAccelerator) {
            SCOPED_TRACE(std::string(language.File) + " [" + section + "]");
            std::map<QChar, std::string> used;
            for (const auto& line : ini.ReadSection(section)) {
                const QString value = QString::fromStdString(line.Value);
                const auto amp = value.indexOf('&');
                if (amp < 0 || amp + 1 >= value.size())
                    continue;
                const QChar key = value[amp + 1].toLower();
                EXPECT_TRUE(used.emplace(key, line.Key).second)
                    << line.Key << " and " << used[key] << " share &" << key.toLatin1();
            }
            for (const auto& key : keys)
                EXPECT_TRUE(ini.ReadString(section, key, "").find('&') != std::string::npos) << key;
        }
    }
}

// The split's messages are filled in with QString::arg: a translation that
// loses a marker would show a raw "%2" or drop the count.
TEST(ShippedFiles, SplitMessagesKeepTheirMarkers) {
    for (const auto& language : Languages) {
        SCOPED_TRACE(language.File);
        TMessageTexts texts;
        LoadMessages(texts, SourceFile(language));
        for (const QString* text : {&texts.SplitWriting, &texts.SplitDone}) {
            EXPECT_EQ(text->count(QStringLiteral("%1")), 1) << text->toStdString();
            EXPECT_EQ(text->count(QStringLiteral("%2")), 1) << text->toStdString();
        }
        EXPECT_FALSE(texts.NoSilence.contains(QLatin1Char('%')));
    }
}

// The overview's words are filled in with QString::arg: each marker once,
// or a reader would hear a raw "%3" or a time in the wrong place.
TEST(ShippedFiles, OverviewWordsKeepTheirMarkers) {
    for (const auto& language : Languages) {
        SCOPED_TRACE(language.File);
        const TIniFile ini = LoadLanguageFile(SourceFile(language));
        const QString selection =
            QString::fromStdString(ini.ReadString("FrmMP3Editor", "OverviewSpeech.SelectionWords", ""));
        for (const char* marker : {"%1", "%2", "%3", "%4", "%5"})
            EXPECT_EQ(selection.count(QLatin1String(marker)), 1) << marker;
        for (const char* key : {"OverviewSpeech.SnapStartWords", "OverviewSpeech.SnapEndWords"}) {
            const QString snap = QString::fromStdString(ini.ReadString("FrmMP3Editor", key, ""));
            EXPECT_EQ(snap.count(QStringLiteral("%1")), 1) << key;
            EXPECT_FALSE(snap.contains(QStringLiteral("%2"))) << key;
        }
    }
}
