// The main window's language: chosen at start from the settings file or the
// system language, switched from the language menu, stored at close; and
// every language's texts fit their controls.
#include "EditorTestSupport.h"

#include "i18n/Language.h"
#include "i18n/Settings.h"
#include "platform/Locale.h"
#include "platform/ProgramFolder.h"
#include "widgets/CheckBox.h"
#include "widgets/GlyphButton.h"
#include "widgets/Label.h"
#include "widgets/LinkLabel.h"
#include "widgets/MenuItem.h"
#include "widgets/PageControl.h"
#include "widgets/PopupMenu.h"

#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

using namespace vivizu;
using namespace vivizu::test;

namespace {

// The window's settings file in the test's own program folder (the test
// program's start gives it one holding English).
class WindowLanguage : public ::testing::Test {
protected:
    ~WindowLanguage() override { WriteSettings("[LANGUAGE]\nDefault=0\n"); }

    static std::string SettingsPath() { return ProgramFolder() + "Vivizu.ini"; }
    static void WriteSettings(const std::string& text) {
        std::filesystem::remove_all(SettingsPath());
        std::ofstream(SettingsPath()) << text;
    }
    static std::string Settings() {
        std::ifstream in(SettingsPath());
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static QString Text(QObject& window, const char* component, const char* property) {
        QObject* target = window.findChild<QObject*>(QLatin1String(component));
        return target ? target->property(property).toString() : QStringLiteral("<none>");
    }

    TDialogSeams Seams;
};

} // namespace

TEST_F(WindowLanguage, StartsInTheStoredLanguageAndStoresItAgainAtClose) {
    WriteSettings("; kept\n[OPTIONS]\nLastFolder=/music\n\n[LANGUAGE]\nDefault=4\n");
    TFrmMP3Editor form;
    EXPECT_EQ(CurrentLanguage, 4);
    EXPECT_TRUE(TEditorControls(form).PM_French->Checked());
    EXPECT_FALSE(TEditorControls(form).PM_English->Checked());
    EXPECT_EQ(Text(form, "Label28", "Caption"), ">> La&ngue");
    EXPECT_EQ(Text(form, "BtnStop", "Caption"), QString::fromUtf8("&Arr\u00eat"));
    EXPECT_EQ(Text(form, "TabSheet1", "Caption"), "Tag ID3v1");
    EXPECT_EQ(Text(form, "OpenDialog1", "Title"), "Ouvrir un fichier MP3");
    EXPECT_EQ(Text(form, "RzBmpButton1", "Hint"), "Fermer");
    EXPECT_EQ(Text(form, "PM_German", "Caption"), "Allemand");
    // The message texts too: the channel of a stereo file, the caption of
    // an information box and the words before a refused destination.
    const QString song = Fixture("cbr128-tags.mp3");
    OpenThroughDialog(form, Seams, song);
    EXPECT_EQ(TEditorControls(form).Label19->Caption(), QString::fromUtf8("St\u00e9r\u00e9o"));
    SaveThroughDialog(form, Seams, song);
    ASSERT_EQ(Seams.Boxes.size(), 1u);
    EXPECT_EQ(Seams.Boxes[0].Caption, "Information");
    EXPECT_TRUE(Seams.Boxes[0].Text.endsWith(QString::fromUtf8("\u00a0:\r\n") + song));

    TEditorControls(form).RzBmpButton1->click();
    // The open above kept its folder in a section of its own.
    EXPECT_EQ(Settings(), "; kept\n[OPTIONS]\nLastFolder=/music\nKeepID3v2=0\nLengthHeader=0\n"
                          "ExactCut=0\nSnapToQuiet=0\nGainDb=0.0\nFadeInMs=0\nFadeOutMs=0\nNormalize=0\nTargetLufs=-18.0\nWideOverview=0\n\n[LANGUAGE]\nDefault=4\n\n[FILES]\nLastFolder=\"" +
                              QFileInfo(song).absolutePath().toStdString() + "\"\n");
}

// With no choice stored the system language decides, once: a Japanese
// system gives 6, shown in English, and 6 is what the next start reads.
TEST_F(WindowLanguage, NoStoredChoiceTakesTheSystemLanguageAndStoresIt) {
    setenv("LANG", "ja_JP.UTF-8", 1);
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    if (SystemDefaultLocaleName() != "ja_JP.UTF-8")
        GTEST_SKIP() << "this machine's locale files name a language of their own";
    std::filesystem::remove(SettingsPath());
    {
        TFrmMP3Editor form;
        EXPECT_EQ(CurrentLanguage, 6);
        EXPECT_TRUE(TEditorControls(form).PM_English->Checked());
        EXPECT_EQ(Text(form, "Label28", "Caption"), ">> &Language");
        form.close();
    }
    EXPECT_EQ(ReadSetting("LANGUAGE", "Default"), "6");
    setenv("LANG", "de_DE.UTF-8", 1);
    TFrmMP3Editor again;
    EXPECT_EQ(CurrentLanguage, 6);
    unsetenv("LANG");
}

TEST_F(WindowLanguage, MenuChoiceAppliesALanguageAndTheCurrentOneReloadsNothing) {
    TFrmMP3Editor form;
    ASSERT_EQ(CurrentLanguage, 0);
    TEditorControls(form).PM_German->DoClick();
    EXPECT_EQ(CurrentLanguage, 2);
    EXPECT_TRUE(TEditorControls(form).PM_German->Checked());
    for (TMenuItem* other : {TEditorControls(form).PM_English, TEditorControls(form).PM_Spanish, TEditorControls(form).PM_Italian, TEditorControls(form).PM_French})
        EXPECT_FALSE(other->Checked()) << other->objectName().toStdString();
    EXPECT_EQ(TEditorControls(form).Label28->Caption(), ">> S&prache");
    EXPECT_EQ(TEditorControls(form).Label15->Caption(), "Abtastrate:");
    // The message texts follow: the caption of a failed save's box.
    OpenThroughDialog(form, Seams, Fixture("cbr128-tags.mp3"));
    SaveThroughDialog(form, Seams, QDir::temp().filePath(QStringLiteral("no-such-folder/out.mp3")));
    ASSERT_EQ(Seams.Boxes.size(), 1u);
    EXPECT_EQ(Seams.Boxes[0].Caption, "Fehler");

    TEditorControls(form).BtnStop->SetCaption(QStringLiteral("changed"));
    TEditorControls(form).PM_German->DoClick();
    EXPECT_EQ(TEditorControls(form).BtnStop->Caption(), "changed");

    // English after a system language without a file of its own is a change.
    CurrentLanguage = 6;
    TEditorControls(form).PM_English->DoClick();
    EXPECT_EQ(CurrentLanguage, 0);
    EXPECT_EQ(TEditorControls(form).BtnStop->Caption(), "&Stop");
    EXPECT_EQ(TEditorControls(form).Label28->Caption(), ">> &Language");
}

TEST_F(WindowLanguage, TheLanguageLinkOpensTheMenuBelowItsBottomLeftCorner) {
    TFrmMP3Editor form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QTest::mouseClick(TEditorControls(form).Label28, Qt::LeftButton);
    QMenu* menu = TEditorControls(form).PopupMenuView->Shown();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->pos(), TEditorControls(form).Label28->mapToGlobal(QPoint(0, TEditorControls(form).Label28->height())));
    QStringList captions;
    for (QAction* action : menu->actions())
        captions << action->text();
    EXPECT_EQ(captions, QStringList({"English", "Spanish", "German", "Italian", "French"}));
    menu->close();
}

TEST_F(WindowLanguage, ASettingsFileThatCannotBeWrittenDoesNotStopTheClose) {
    std::filesystem::remove(SettingsPath());
    std::filesystem::create_directory(SettingsPath());
    TFrmMP3Editor form;
    form.show();
    testing::internal::CaptureStderr();
    TEditorControls(form).RzBmpButton1->click();
    const std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(Seams.Reports.empty());
    EXPECT_NE(errors.find(SettingsPath()), std::string::npos) << errors;
}

// Every language's texts fit their controls at the design size: labels
// their width, buttons and the check box what they need, the tabs the
// page control's height.
TEST_F(WindowLanguage, EveryLanguagesTextsFitTheirControls) {
    TFrmMP3Editor form;
    form.show();
    for (const auto& language : Languages) {
        form.ApplyLanguage(language.Number);
        SCOPED_TRACE(language.File);
        for (TLabel* label : form.findChildren<TLabel*>()) {
            if (label->Caption().isEmpty())
                continue;
            const QString name = label->objectName();
            // A link shows its accelerator underlined, not as "&".
            const QString shown = qobject_cast<TLinkLabel*>(label) ? WithoutAccelerator(label->Caption())
                                                                   : label->Caption();
            const int needed = label->fontMetrics().horizontalAdvance(shown);
            EXPECT_LE(needed, label->width()) << name.toStdString();
            const QRect inWindow(label->mapTo(&form, QPoint(0, 0)), label->size());
            EXPECT_TRUE(form.rect().contains(inWindow)) << name.toStdString();
        }
        // The start and end captions grow to the left, keeping the margin.
        EXPECT_GE(TEditorControls(form).LabelStart->x(), 12);
        EXPECT_GE(TEditorControls(form).LabelEnd->x(), 12);
        for (QAbstractButton* button :
             std::initializer_list<QAbstractButton*>{TEditorControls(form).BtnPlayStart, TEditorControls(form).BtnStop, TEditorControls(form).RzCheckBox1})
            EXPECT_LE(button->sizeHint().width(), button->width()) << button->objectName().toStdString();
        auto* tabs = TEditorControls(form).RzPageControl1->findChild<QTabBar*>();
        ASSERT_NE(tabs, nullptr);
        EXPECT_LE(tabs->sizeHint().height(), TEditorControls(form).RzPageControl1->height());
    }
    form.ApplyLanguage(0);
}
