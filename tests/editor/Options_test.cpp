// The options menu: its three ticks, what they hand to the engine, and how
// they are kept in section "OPTIONS" of the settings file.
#include "EditorTestSupport.h"

#include "engine/RoruvoMp3.h"
#include "platform/Ini.h"
#include "platform/ProgramFolder.h"
#include "widgets/LinkLabel.h"
#include "widgets/MenuItem.h"
#include "widgets/PopupMenu.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

using namespace vivizu;
using namespace vivizu::test;

namespace {

class Options : public ::testing::Test {
protected:
    Options()
    {
        FormerFolder = ProgramFolder();
        SetProgramFolder(Temp.path().toStdString() + "/");
    }
    ~Options() override { SetProgramFolder(FormerFolder); }

    std::string Settings() const { return Temp.path().toStdString() + "/Vivizu.ini"; }

    TDialogSeams Seams;
    std::unique_ptr<TFrmMP3Editor> Form = std::make_unique<TFrmMP3Editor>();
    QTemporaryDir Temp;
    std::string FormerFolder;
};

TEST_F(Options, MenuBesideTheLanguageMenuWithThreeTicks)
{
    auto& f = *Form;
    EXPECT_EQ(f.Label29->Caption(), ">> Options");
    EXPECT_LT(f.Label29->x() + f.Label29->width(), f.Label28->x() + 1);
    EXPECT_EQ(f.Label29->y(), f.Label28->y());
    EXPECT_EQ(f.PM_KeepID3v2->Caption(), "Keep ID3v2 tag");
    EXPECT_EQ(f.PM_LengthHeader->Caption(), "Write length header");
    EXPECT_EQ(f.PM_ExactCut->Caption(), "Exact cut (clean start)");
    EXPECT_EQ(f.PM_ExactCut->parent(), f.PopupMenuOptions);
}

TEST_F(Options, ReadFromTheSettingsFileAndHandedToTheEngine)
{
    TIniFile ini;
    ini.WriteString("OPTIONS", "KeepID3v2", "1");
    ini.WriteString("OPTIONS", "LengthHeader", "0");
    ini.WriteString("OPTIONS", "ExactCut", "yes"); // not 1: off
    ini.Save(Settings());
    Form->ReadOptionsSetting();
    EXPECT_TRUE(Form->PM_KeepID3v2->Checked());
    EXPECT_FALSE(Form->PM_LengthHeader->Checked());
    EXPECT_FALSE(Form->PM_ExactCut->Checked());
    EXPECT_TRUE(Form->Mp3()->CutOptions.KeepID3v2);
    EXPECT_FALSE(Form->Mp3()->CutOptions.ExactCut);

    // A click ticks or unticks and reaches the engine at once.
    Form->PM_ExactCut->DoClick();
    Form->PM_KeepID3v2->DoClick();
    EXPECT_TRUE(Form->PM_ExactCut->Checked());
    EXPECT_TRUE(Form->Mp3()->CutOptions.ExactCut);
    EXPECT_FALSE(Form->Mp3()->CutOptions.KeepID3v2);
}

TEST_F(Options, WrittenBesideOtherSettingsAsZeroOrOne)
{
    TIniFile ini;
    ini.WriteString("LANGUAGE", "Default", "2");
    ini.Save(Settings());
    Form->ReadOptionsSetting(); // no OPTIONS section: all off
    EXPECT_FALSE(Form->Mp3()->CutOptions.AddsToFrames());
    Form->PM_LengthHeader->DoClick();
    Form->WriteOptionsSetting();

    const TIniFile saved = TIniFile::Load(Settings());
    EXPECT_EQ(saved.ReadString("LANGUAGE", "Default", ""), "2");
    EXPECT_EQ(saved.ReadString("OPTIONS", "KeepID3v2", ""), "0");
    EXPECT_EQ(saved.ReadString("OPTIONS", "LengthHeader", ""), "1");
    EXPECT_EQ(saved.ReadString("OPTIONS", "ExactCut", ""), "0");
}

} // namespace
