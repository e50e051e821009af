// The main window as the user meets it: its start state, opening files of
// every kind through the Open button, and what each leaves on the window.
#include "EditorTestSupport.h"
#include "tests/engine/Mp3Bytes.h"

#include "editor/TimeText.h"
#include "engine/RoruvoMp3.h"
#include "platform/Ini.h"
#include "platform/ProgramFolder.h"
#include "widgets/CheckBox.h"
#include "widgets/ComboBox.h"
#include "widgets/Edit.h"
#include "widgets/GlyphButton.h"
#include "widgets/Image.h"
#include "widgets/Label.h"
#include "widgets/LinkLabel.h"
#include "widgets/MaskEdit.h"
#include "widgets/MenuItem.h"
#include "widgets/OpenDialog.h"
#include "widgets/PageControl.h"
#include "widgets/Panel.h"
#include "widgets/PictureButton.h"
#include "widgets/Timer.h"
#include "widgets/TrackBar.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <fstream>
#include <memory>

using namespace vivizu;
using namespace vivizu::test;

namespace {

class MainWindow : public ::testing::Test {
protected:
    TDialogSeams Seams;
    std::unique_ptr<TFrmMP3Editor> Form = std::make_unique<TFrmMP3Editor>();
    QTemporaryDir Temp;

    QString MessageText(const char* key) const {
        const auto ini = TIniFile::Load(ProgramFolder() + "Languages/English.isl");
        return QString::fromStdString(ini.ReadString("Messages", key, ""));
    }

    std::vector<TEdit*> TagEdits() const {
        TEditorControls f(*Form);
        return {f.RzEdit1, f.RzEdit2, f.RzEdit3, f.RzEdit5, f.RzEdit6, f.RzEdit7};
    }

    // The controls that only a valid file switches on, with their names.
    std::vector<QWidget*> FileControls() const {
        TEditorControls f(*Form);
        return {f.BtnSaveMp3, f.BtnPlayStart, f.BtnStop, f.TrackBarPos, f.ImageStart,
                f.ImageEnd, f.LabelStart, f.LabelEnd, f.RzMaskEdit1, f.RzMaskEdit2,
                f.RzCheckBox1, f.RzComboBox1, f.RzEdit1, f.RzEdit2, f.RzEdit3,
                f.RzEdit5, f.RzEdit6, f.RzEdit7};
    }

    // Everything the reset before an analysis leaves, also after a failed one.
    void ExpectNoFileState() const {
        TEditorControls f(*Form);
        for (QWidget* w : FileControls())
            EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
        EXPECT_FALSE(f.RzCheckBox1->Checked());
        EXPECT_EQ(f.TrackBarPos->Position(), 0);
        for (TEdit* e : TagEdits())
            EXPECT_EQ(e->Text(), QString()) << e->objectName().toStdString();
        EXPECT_EQ(f.RzComboBox1->ItemIndex(), -1);
        for (TLabel* l : {f.Label18, f.Label19, f.Label20, f.Label21, f.Label22, f.Label24})
            EXPECT_EQ(l->Caption(), QString()) << l->objectName().toStdString();
        EXPECT_EQ(f.RzMaskEdit1->Text(), "000:00:00.000");
        EXPECT_EQ(f.RzMaskEdit2->Text(), "000:00:00.000");
        EXPECT_EQ(f.Label1->Caption(), "000:00:00.000");
        EXPECT_FALSE(f.ImageFileState1->Visible());
        EXPECT_TRUE(f.ImageFileState2->Visible());
        EXPECT_FALSE(f.PanelState->Visible());
        for (QWidget* w : std::initializer_list<QWidget*>{f.BtnOpenMp3, f.BtnAbout, f.RzBmpButton1,
                                                          f.RzBmpButton2, f.Label28})
            EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    }

    QString WriteFile(const QString& name, const QByteArray& bytes) {
        const QString path = Temp.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
};

QByteArray ReadFixture(const char* name) {
    QFile file(Fixture(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

// A 128-byte ID3v1 tag with the given title, comment, track and genre;
// artist "Artist", album "Album", year "1999".
QByteArray Id3v1Tag(const QByteArray& title, const QByteArray& comment, uint8_t track,
                    uint8_t genre) {
    const Bytes tag = Id3v1Fields(title.toStdString(), "Artist", "Album", "1999",
                                  comment.toStdString(), track, genre);
    return QByteArray(reinterpret_cast<const char*>(tag.data()), static_cast<qsizetype>(tag.size()));
}

} // namespace

TEST_F(MainWindow, StartsBorderlessWithEveryControlNamedAndInItsStartState) {
    TEditorControls f(*Form);
    EXPECT_EQ(Form->objectName(), "FrmMP3Editor");
    EXPECT_EQ(Form->size(), QSize(592, 452));
    EXPECT_TRUE(Form->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(f.Label11->Caption(), "Vivizu version 2.2.2");
    EXPECT_EQ(f.Label28->Caption(), ">> &Language");
    EXPECT_EQ(f.RzBmpButton1->Hint(), "Close");
    EXPECT_EQ(f.RzBmpButton2->Hint(), "Minimize");
    EXPECT_EQ(f.ImageStart->Hint(), "Drag to set start tag");
    EXPECT_EQ(f.BtnPlayStart->Caption(), "&Play");
    EXPECT_EQ(f.TrackBarPos->geometry(), QRect(128, 189, 449, 20));
    EXPECT_EQ(f.TrackBarPos->Max(), 100);
    EXPECT_EQ(f.RzMaskEdit1->geometry(), QRect(288, 116, 96, 21));
    EXPECT_EQ(f.RzMaskEdit2->EditMask(), "000:00:00.000;1;_");

    // The language file addresses controls by name: every one is findable.
    for (const char* name :
         {"FS", "Label10", "Label11", "Label28", "RzBmpButton1", "RzBmpButton2", "BtnOpenMp3",
          "BtnSaveMp3", "BtnAbout", "LabelStart", "LabelEnd", "RzMaskEdit1", "RzMaskEdit2",
          "BtnPlayStart", "BtnStop", "Label1", "TrackBarPos", "ImageStart", "ImageEnd",
          "RzPageControl1", "TabSheet1", "TabSheet2", "PanelState", "Image1", "Label25",
          "ImageFileState1", "ImageFileState2", "Label12", "Label3", "Label4", "Label5",
          "Label6", "Label7", "Label8", "Label9", "Label13", "Label23", "RzCheckBox1",
          "RzComboBox1", "RzEdit7", "OpenDialog1", "SaveDialog1", "TimerPos", "PopupMenuView",
          "PM_English", "PM_French"})
        EXPECT_NE(Form->findChild<QObject*>(QLatin1String(name)), nullptr) << name;

    ExpectNoFileState();
    EXPECT_EQ(f.Label12->Caption(), QString());
    EXPECT_EQ(f.RzComboBox1->Count(), 148);
    EXPECT_EQ(f.RzComboBox1->Items().front(), "Blues");
    EXPECT_EQ(f.RzPageControl1->ActivePage(), f.TabSheet2);
    EXPECT_TRUE(f.PM_English->Checked());
    EXPECT_FALSE(f.TimerPos->Enabled());
    EXPECT_EQ(f.OpenDialog1->Title(), "Open MP3 file");
    EXPECT_EQ(f.OpenDialog1->Filter(), "MP3(*.mp3)|*.mp3");
    // Message texts from the language file beside the program: the wait
    // panel of an open says the file's words.
    EXPECT_FALSE(MessageText("Ms_Opening").isEmpty());
    OpenThroughDialog(f, Seams, Fixture("cbr128-tags.mp3"));
    EXPECT_EQ(f.Label25->Caption(), MessageText("Ms_Opening"));
}

TEST_F(MainWindow, OpeningAFileWithATagFillsEveryFieldAndSwitchesTheControlsOn) {
    TEditorControls f(*Form);
    const QString path = Fixture("cbr128-tags.mp3");
    OpenThroughDialog(f, Seams, path);

    EXPECT_EQ(Seams.Executes, 1);
    EXPECT_TRUE(Seams.Boxes.empty());
    EXPECT_EQ(f.Label12->Caption(), path);
    EXPECT_EQ(f.Label25->Caption(), MessageText("Ms_Opening"));
    EXPECT_FALSE(f.PanelState->Visible());
    EXPECT_EQ(f.Label18->Caption(), "MPEG 1 Layer 3");
    EXPECT_EQ(f.Label19->Caption(), MessageText("Ms_Stereo"));
    EXPECT_EQ(f.Label20->Caption(), "44100 Hz");
    EXPECT_EQ(f.Label21->Caption(), "128 Kbps");
    EXPECT_EQ(f.Label22->Caption(), "000:00:01.541");
    EXPECT_EQ(f.Label24->Caption(), "25 KB");  // 25 468 bytes
    EXPECT_EQ(f.Label1->Caption(), "00:00:00.000");

    EXPECT_TRUE(f.RzCheckBox1->isEnabled());
    EXPECT_TRUE(f.RzCheckBox1->Checked());
    EXPECT_EQ(f.RzEdit1->Text(), "Cut Title");
    EXPECT_EQ(f.RzEdit2->Text(), "Some Artist");
    EXPECT_EQ(f.RzEdit3->Text(), "An Album");
    EXPECT_EQ(f.RzEdit5->Text(), "7");
    EXPECT_EQ(f.RzEdit6->Text(), "2024");
    EXPECT_EQ(f.RzEdit7->Text(), "A comment");
    EXPECT_EQ(f.RzComboBox1->ItemIndex(), 17);
    for (QWidget* w : FileControls())
        EXPECT_EQ(w->isEnabled(), w != f.BtnStop) << w->objectName().toStdString();
    EXPECT_TRUE(f.ImageFileState1->Visible());
    EXPECT_FALSE(f.ImageFileState2->Visible());

    // The selection is the whole stream.
    EXPECT_EQ(f.TrackBarPos->Max(), 1541);
    EXPECT_EQ(f.RzMaskEdit1->Text(), "000:00:00.000");
    EXPECT_EQ(f.RzMaskEdit2->Text(), "000:00:01.541");
    EXPECT_EQ(f.ImageStart->Left(), 129);
    EXPECT_EQ(f.ImageEnd->Left(), 560);

    // The include box switches the tag fields, their contents stay.
    f.RzCheckBox1->SetChecked(false);
    for (TEdit* e : TagEdits())
        EXPECT_FALSE(e->isEnabled());
    EXPECT_FALSE(f.RzComboBox1->isEnabled());
    EXPECT_EQ(f.RzEdit1->Text(), "Cut Title");
}

TEST_F(MainWindow, FileWithoutTagLeavesTheTagPageEmptyAndASecondOpenResetsEverything) {
    TEditorControls f(*Form);
    OpenThroughDialog(f, Seams, Fixture("cbr128-tags.mp3"));
    ASSERT_TRUE(f.RzCheckBox1->Checked());
    OpenThroughDialog(f, Seams, Fixture("vbr48k.mp3"));

    EXPECT_TRUE(f.RzCheckBox1->isEnabled());
    EXPECT_FALSE(f.RzCheckBox1->Checked());
    for (TEdit* e : TagEdits()) {
        EXPECT_FALSE(e->isEnabled());
        EXPECT_EQ(e->Text(), QString());
    }
    EXPECT_EQ(f.RzComboBox1->ItemIndex(), -1);
    EXPECT_EQ(f.Label18->Caption(), "MPEG 1 Layer 3");
    EXPECT_EQ(f.Label20->Caption(), "48000 Hz");
    EXPECT_EQ(f.Label22->Caption(), "000:00:01.536");
    EXPECT_EQ(f.Label24->Caption(), "9 KB");
    EXPECT_TRUE(f.BtnSaveMp3->isEnabled());
    EXPECT_EQ(f.RzMaskEdit2->Text(), "000:00:01.536");
    EXPECT_EQ(f.RzMaskEdit2->Text(), "000:00:01.536");
}

TEST_F(MainWindow, MonoMpeg25ShowsItsVersionWithTheUsersDecimalSeparator) {
    TEditorControls f(*Form);
    const QByteArray saved = qgetenv("LC_ALL");
    qputenv("LC_ALL", "de_DE.UTF-8");
    OpenThroughDialog(f, Seams, Fixture("mono8k.mp3"));
    qputenv("LC_ALL", saved);
    EXPECT_EQ(f.Label18->Caption(), "MPEG 2,5 Layer 3");
    EXPECT_EQ(f.Label19->Caption(), MessageText("Ms_Mono"));
    EXPECT_EQ(f.Label20->Caption(), "8000 Hz");
    EXPECT_EQ(f.Label21->Caption(), "32 Kbps");
}

TEST_F(MainWindow, TagTextsKeepSpacesUseTheCodePageAndIgnoreUnknownGenres) {
    TEditorControls f(*Form);
    const QByteArray title = "Caf\xE9" + QByteArray(26, ' ');  // 30 bytes, no zero
    const QByteArray comment(30, 'c');
    const QString path =
        WriteFile("tagged.mp3", ReadFixture("vbr48k.mp3") + Id3v1Tag(title, comment, 0, 255));
    const QByteArray saved = qgetenv("LC_ALL");
    qputenv("LC_ALL", "fr_FR.UTF-8");  // a western locale: code page 1252
    OpenThroughDialog(f, Seams, path);
    qputenv("LC_ALL", saved);

    ASSERT_TRUE(f.RzCheckBox1->Checked());
    EXPECT_EQ(f.RzEdit1->Text(), QString::fromUtf8("Caf\u00e9") + QString(26, ' '));
    EXPECT_EQ(f.RzEdit7->Text(), QString(30, 'c'));
    EXPECT_EQ(f.RzEdit5->Text(), QString());  // track 0: none
    EXPECT_EQ(f.RzComboBox1->ItemIndex(), -1);

    const QString genre0 =
        WriteFile("genre0.mp3", ReadFixture("vbr48k.mp3") + Id3v1Tag("T", "C", 9, 0));
    OpenThroughDialog(f, Seams, genre0);
    EXPECT_EQ(f.RzComboBox1->ItemIndex(), 0);
    EXPECT_EQ(f.RzEdit5->Text(), "9");
    EXPECT_EQ(f.RzEdit7->Text(), "C");
}

TEST_F(MainWindow, NotAnMp3ShowsTheInformationBoxAndTheNoFileState) {
    TEditorControls f(*Form);
    OpenThroughDialog(f, Seams, Fixture("cbr128-tags.mp3"));
    const QString path = WriteFile("notes.mp3", QByteArray("These are plain words, no audio.\n"));
    OpenThroughDialog(f, Seams, path);

    ASSERT_EQ(Seams.Boxes.size(), 1u);
    EXPECT_EQ(Seams.Boxes[0].Text, path + "\r\n" + MessageText("Ms_NotMP3"));
    EXPECT_EQ(Seams.Boxes[0].Caption, MessageText("Ms_Info"));
    EXPECT_EQ(Seams.Boxes[0].Icon, int(QMessageBox::Critical)); // an error, told as one
    EXPECT_TRUE(Seams.Reports.empty());
    ExpectNoFileState();
    EXPECT_EQ(f.Label12->Caption(), path);
}

TEST_F(MainWindow, UnreadableFileReachesTheErrorReportWithAFullStop) {
    TEditorControls f(*Form);
    Form->show();
    OpenThroughDialog(f, Seams, Fixture("cbr128-tags.mp3"));
    const QString path = Temp.filePath("missing.mp3");
    Seams.Answer = path;
    f.TimerPos->SetEnabled(true);  // as during a preview
    QTest::mouseClick(f.BtnOpenMp3, Qt::LeftButton);

    ASSERT_EQ(Seams.Reports.size(), 1u);
    EXPECT_EQ(Seams.Reports[0].Caption, "Vivizu");
    EXPECT_TRUE(Seams.Reports[0].Text.contains(path)) << Seams.Reports[0].Text.toStdString();
    EXPECT_TRUE(Seams.Reports[0].Text.endsWith("directory.")) << Seams.Reports[0].Text.toStdString();
    EXPECT_TRUE(Seams.Boxes.empty());
    EXPECT_FALSE(f.TimerPos->Enabled());
    // The valid-file icon of the earlier file does not stay lit.
    ExpectNoFileState();
    // The program goes on: the next open works.
    OpenThroughDialog(f, Seams, Fixture("vbr48k.mp3"));
    EXPECT_TRUE(f.BtnSaveMp3->isEnabled());
}

TEST_F(MainWindow, MissingMarkerPictureIsReportedAndTheWaitPanelGoesAway) {
    TEditorControls f(*Form);
    Form->show();
    const std::string folder = ProgramFolder();
    QTemporaryDir empty;
    SetProgramFolder(WithTrailingSlash(QFile::encodeName(empty.path()).toStdString()));
    Seams.Answer = Fixture("cbr128-tags.mp3");
    QTest::mouseClick(f.BtnOpenMp3, Qt::LeftButton);
    SetProgramFolder(folder);

    ASSERT_EQ(Seams.Reports.size(), 1u);
    EXPECT_TRUE(Seams.Reports[0].Text.contains("MarkStartD.bmp")) << Seams.Reports[0].Text.toStdString();
    EXPECT_FALSE(f.PanelState->isVisible());
    EXPECT_FALSE(f.BtnSaveMp3->isEnabled());
}

TEST_F(MainWindow, CancellingTheDialogChangesNothing) {
    TEditorControls f(*Form);
    OpenThroughDialog(f, Seams, Fixture("cbr128-tags.mp3"));
    OpenThroughDialog(f, Seams, QString());
    EXPECT_EQ(Seams.Executes, 2);
    EXPECT_EQ(f.Label12->Caption(), Fixture("cbr128-tags.mp3"));
    EXPECT_TRUE(f.RzCheckBox1->Checked());
    EXPECT_EQ(f.RzMaskEdit2->Text(), "000:00:01.541");
    EXPECT_EQ(f.TrackBarPos->Max(), 1541);
}

// A newline (or another control character) in a file's name would break
// the status line: it is shown as its visible stand-in, the rest as it is.
TEST_F(MainWindow, ControlCharactersInTheFileNameAreShownVisibly) {
    TEditorControls f(*Form);
    const QString path = WriteFile(QStringLiteral("two\nlines\tand tab.mp3"), ReadFixture("vbr48k.mp3"));
    OpenThroughDialog(f, Seams, path);
    EXPECT_TRUE(f.BtnSaveMp3->isEnabled()); // the file itself opens as usual
    const QString shown = f.Label12->Caption();
    EXPECT_FALSE(shown.contains(QLatin1Char('\n')));
    EXPECT_FALSE(shown.contains(QLatin1Char('\t')));
    EXPECT_TRUE(shown.endsWith(QString::fromUtf8("two\u240Alines\u2409and tab.mp3"))) << shown.toStdString();
    EXPECT_EQ(shown.size(), path.size());
}
