// Language files put onto a small window of real toolkit controls through
// their named properties.
#include "I18nTestSupport.h"

#include "i18n/LanguageFile.h"
#include "widgets/ComboBox.h"
#include "widgets/Edit.h"
#include "widgets/Form.h"
#include "widgets/GlyphButton.h"
#include "widgets/Label.h"
#include "widgets/MenuItem.h"
#include "widgets/OpenDialog.h"
#include "widgets/PopupMenu.h"

#include <gtest/gtest.h>

using namespace vivizu;
using namespace vivizu::test;

namespace {

class LanguageFile : public ::testing::Test {
protected:
    LanguageFile() {
        Window.setObjectName("FrmTest");
        Window.SetCaption("Design");
        Window.SetClientSize(300, 200);
        Label->setObjectName("Label1");
        Label->SetCaption("Label");
        Label->SetWidth(80);
        Stop->setObjectName("BtnStop");
        Stop->SetCaption("&Stop");
        Combo->setObjectName("RzComboBox1");
        Edit->setObjectName("RzEdit1");
        Edit->SetMaxLength(30);
        Open->setObjectName("OpenDialog1");
        Item->setObjectName("PM_English");
        Item->SetCaption("English");
        Other->setObjectName("FrmOther");
        Hidden->setObjectName("Hidden");
    }

    // Applies a file holding text and gives the file's path.
    std::string Apply(const std::string& text) {
        const auto path = Folder.Write("Test.isl", text);
        EXPECT_TRUE(ApplyLanguageFile(Window, path));
        return path;
    }

    TScratch Folder;
    TForm Window;
    TLabel* Label = new TLabel(&Window);
    TGlyphButton* Stop = new TGlyphButton(&Window);
    TComboBox* Combo = new TComboBox(&Window);
    TEdit* Edit = new TEdit(&Window);
    TOpenDialog* Open = new TOpenDialog(&Window);
    TPopupMenu* Menu = new TPopupMenu(&Window);
    TMenuItem* Item = new TMenuItem(Menu);
    TForm* Other = new TForm(&Window);  // a window the test window holds
    TLabel* Hidden = new TLabel(Other);
};

} // namespace

TEST_F(LanguageFile, LinesSetTextsOfComponentsAndOfTheWindowItself) {
    Apply("[Messages]\nMs_Info=x\n"
          "[frmtest]\n"
          "BtnStop.Caption =   &Halt  \n"
          "btnstop.CAPTION.x=ignored: no such property\n"
          "Caption=Window one\n"
          "OpenDialog1.Filter=MP3 files (*.mp3)|*.mp3|All=files|*\n"
          "PM_English . Caption = Inglés\n"
          "RzEdit1.MaxLength=$14\n"
          "[Other]\nLabel1.Caption=not this section\n");
    EXPECT_EQ(Stop->Caption(), "&Halt");
    EXPECT_EQ(Window.Caption(), "Window one");
    EXPECT_EQ(Open->Filter(), "MP3 files (*.mp3)|*.mp3|All=files|*");
    EXPECT_EQ(Item->Caption(), QString::fromUtf8("Ingl\u00e9s"));
    EXPECT_EQ(Edit->MaxLength(), 20);
    EXPECT_EQ(Label->Caption(), "Label");

    Apply("[FrmTest]\n.Caption=Window two\n");
    EXPECT_EQ(Window.Caption(), "Window two");
}

TEST_F(LanguageFile, UnknownNamesAndOtherKindsAreSkipped) {
    Apply("[FrmTest]\n"
          "NoSuchComponent.Caption=x\n"
          "Label1.NoSuchProperty=x\n"
          "Label1.Visible=False\n"         // an enumeration in the file's terms
          "Label1.Alignment=2\n"           // a set of flags
          "Label1.FontColor=clRed\n"       // neither number nor text
          "Hidden.Caption=another window's\n"
          "FrmOther.Caption=held window\n"
          "Label1.Width=120\n"
          "Label1.Caption=applied\n");
    EXPECT_EQ(Label->Caption(), "applied");
    EXPECT_EQ(Label->Width(), 120);
    EXPECT_TRUE(Label->Visible());
    EXPECT_EQ(Hidden->Caption(), "");
    EXPECT_EQ(Other->Caption(), "held window");
}

TEST_F(LanguageFile, AValueThatIsNoNumberEndsTheSectionKeepingEarlierLines) {
    Apply("[FrmTest]\n"
          "Label1.Caption=before\n"
          "Label1.Width=wide\n"
          "BtnStop.Caption=after\n");
    EXPECT_EQ(Label->Caption(), "before");
    EXPECT_EQ(Label->Width(), 80);
    EXPECT_EQ(Stop->Caption(), "&Stop");
}

TEST_F(LanguageFile, ListsSplitAtDoubleBarsAndHashCodesStayInCaptions) {
    Apply("[FrmTest]\n"
          "RzComboBox1.Items=Blues||Classic Rock||Country\n"
          "Label1.Caption=One#13#10Two\n");
    EXPECT_EQ(Combo->Items(), QStringList({"Blues", "Classic Rock", "Country"}));
    EXPECT_EQ(Label->Caption(), "One#13#10Two");
    Apply("[FrmTest]\nRzComboBox1.Items=Only one\n");
    EXPECT_EQ(Combo->Items(), QStringList({"Only one"}));
}

TEST_F(LanguageFile, MissingFileOrSectionChangesNothing) {
    EXPECT_TRUE(ApplyLanguageFile(Window, Folder.Path + "missing.isl"));
    Apply("[Messages]\nMs_Info=x\n");
    EXPECT_EQ(Window.Caption(), "Design");
    EXPECT_EQ(Stop->Caption(), "&Stop");
    SetComponentProperty(nullptr, "Caption", "x");  // no component: nothing
}

TEST_F(LanguageFile, Utf8WithMarkOrLegacyCodePage) {
    Apply("\xEF\xBB\xBF[FrmTest]\nLabel1.Caption=Espa\xC3\xB1ol\n");
    EXPECT_EQ(Label->Caption(), QString::fromUtf8("Espa\u00f1ol"));
    // Not UTF-8: read in the ANSI code page of the user's locale.
    setenv("LC_ALL", "fr_FR.ISO-8859-1", 1);
    Apply("[FrmTest]\nLabel1.Caption=Fran\xE7" "ais\nBtnStop.Caption=&Arr\xEAt\n");
    unsetenv("LC_ALL");
    EXPECT_EQ(Label->Caption(), QString::fromUtf8("Fran\u00e7ais"));
    EXPECT_EQ(Stop->Caption(), QString::fromUtf8("&Arr\u00eat"));
}
