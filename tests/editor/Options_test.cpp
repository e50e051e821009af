// The options menu: its three ticks, how they shape a save, and how
// they are kept in section "OPTIONS" of the settings file.
#include "EditorTestSupport.h"

#include "engine/RoruvoMp3.h"
#include "platform/Ini.h"
#include "platform/ProgramFolder.h"
#include "widgets/LinkLabel.h"
#include "widgets/MenuItem.h"
#include "widgets/PopupMenu.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

using namespace vivizu;
using namespace vivizu::test;

namespace {

class Options : public ::testing::Test {
protected:
    std::string Settings() const { return Temp.path().toStdString() + "/Vivizu.ini"; }

    // A window started now, reading the settings file as it starts.
    void StartWindow() { Form = std::make_unique<TFrmMP3Editor>(); }

    // The first bytes of the selection saved with the ticked options.
    std::string SavedStart()
    {
        OpenThroughDialog(*Form, Seams, Fixture("cbr128-tags.mp3"));
        const QString out = Temp.filePath(QStringLiteral("out.mp3"));
        QFile::remove(out);
        SaveThroughDialog(*Form, Seams, out);
        EXPECT_TRUE(Seams.Boxes.empty());
        EXPECT_TRUE(Seams.Reports.empty());
        QFile file(out);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.read(200).toStdString();
    }

    TDialogSeams Seams;
    QTemporaryDir Temp;
    std::unique_ptr<TFrmMP3Editor> Form = std::make_unique<TFrmMP3Editor>();
    // A program folder of the test's own, for its settings file; taken after
    // the first window is made, given back before it goes.
    TOwnProgramFolder Folder{Temp.path()};
};

TEST_F(Options, MenuBesideTheLanguageMenuWithThreeTicks)
{
    TEditorControls f(*Form);
    EXPECT_EQ(f.Label29->Caption(), ">> &Options");
    EXPECT_LT(f.Label29->x() + f.Label29->width(), f.Label28->x() + 1);
    EXPECT_EQ(f.Label29->y(), f.Label28->y());
    EXPECT_EQ(f.PM_KeepID3v2->Caption(), "Keep ID3v2 tag");
    EXPECT_EQ(f.PM_LengthHeader->Caption(), "Write length header");
    EXPECT_EQ(f.PM_ExactCut->Caption(), "Exact cut (clean start)");
    EXPECT_EQ(f.PM_ExactCut->parent(), f.PopupMenuOptions);
    EXPECT_EQ(f.PM_SplitSilence->Caption(), QString::fromUtf8("Split at silences\u2026"));
    EXPECT_EQ(f.PM_SplitSilence->parent(), f.PopupMenuOptions);
}

TEST_F(Options, ReadFromTheSettingsFileAndHandedToTheSave)
{
    TIniFile ini;
    ini.WriteString("OPTIONS", "KeepID3v2", "1");
    ini.WriteString("OPTIONS", "LengthHeader", "0");
    ini.WriteString("OPTIONS", "ExactCut", "yes"); // not 1: off
    ini.Save(Settings());
    StartWindow();
    TEditorControls f(*Form);
    EXPECT_TRUE(f.PM_KeepID3v2->Checked());
    EXPECT_FALSE(f.PM_LengthHeader->Checked());
    EXPECT_FALSE(f.PM_ExactCut->Checked());
    // The kept ID3v2 tag leads the file; no header frame follows it.
    std::string start = SavedStart();
    EXPECT_EQ(start.substr(0, 3), "ID3");

    // A click ticks or unticks and the next save follows it.
    f.PM_ExactCut->DoClick();
    f.PM_KeepID3v2->DoClick();
    EXPECT_TRUE(f.PM_ExactCut->Checked());
    EXPECT_FALSE(f.PM_KeepID3v2->Checked());
    start = SavedStart();
    EXPECT_EQ(static_cast<unsigned char>(start[0]), 0xFF); // a frame, no tag
    EXPECT_TRUE(start.find("Info") != std::string::npos || start.find("Xing") != std::string::npos);
}

TEST_F(Options, WrittenBesideOtherSettingsAsZeroOrOne)
{
    TIniFile ini;
    ini.WriteString("LANGUAGE", "Default", "2");
    ini.Save(Settings());
    StartWindow(); // no OPTIONS section: all off
    TEditorControls f(*Form);
    EXPECT_EQ(static_cast<unsigned char>(SavedStart()[0]), 0xFF); // no kept tag
    f.PM_LengthHeader->DoClick();
    Form->close(); // the close writes the settings

    const TIniFile saved = TIniFile::Load(Settings());
    EXPECT_EQ(saved.ReadString("LANGUAGE", "Default", ""), "2");
    EXPECT_EQ(saved.ReadString("OPTIONS", "KeepID3v2", ""), "0");
    EXPECT_EQ(saved.ReadString("OPTIONS", "LengthHeader", ""), "1");
    EXPECT_EQ(saved.ReadString("OPTIONS", "ExactCut", ""), "0");
    EXPECT_EQ(saved.ReadString("OPTIONS", "SnapToQuiet", ""), "0");
}

// Snapping to quiet is off until ticked, and a tick is kept for the next run.
TEST_F(Options, SnapToQuietKeptBetweenRuns)
{
    TEditorControls first(*Form);
    EXPECT_EQ(first.PM_SnapToQuiet->Caption(), "Snap markers to quiet");
    EXPECT_EQ(first.PM_SnapToQuiet->parent(), first.PopupMenuOptions);
    EXPECT_FALSE(first.PM_SnapToQuiet->Checked());
    first.PM_SnapToQuiet->DoClick();
    Form->close();
    EXPECT_EQ(TIniFile::Load(Settings()).ReadString("OPTIONS", "SnapToQuiet", ""), "1");

    StartWindow();
    TEditorControls second(*Form);
    EXPECT_TRUE(second.PM_SnapToQuiet->Checked());
    EXPECT_FALSE(second.PM_ExactCut->Checked());
    second.PM_SnapToQuiet->DoClick();
    Form->close();
    EXPECT_EQ(TIniFile::Load(Settings()).ReadString("OPTIONS", "SnapToQuiet", ""), "0");
}

} // namespace
