// Opening from outside the Open button: files dropped onto the window, the
// keyboard shortcuts, and the folder the open dialog starts in.
#include "EditorTestSupport.h"

#include "editor/OpenFolder.h"
#include "i18n/Settings.h"
#include "platform/Ini.h"
#include "platform/ProgramFolder.h"
#include "widgets/CheckBox.h"
#include "widgets/Edit.h"
#include "widgets/Label.h"
#include "widgets/MaskEdit.h"
#include "widgets/OpenDialog.h"
#include "widgets/Panel.h"
#include "widgets/PictureButton.h"

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

using namespace vivizu;
using namespace vivizu::test;

namespace {

std::unique_ptr<QMimeData> Urls(const QList<QUrl>& urls) {
    auto data = std::make_unique<QMimeData>();
    data->setUrls(urls);
    return data;
}

std::unique_ptr<QMimeData> FileData(const QString& path) {
    return Urls({QUrl::fromLocalFile(path)});
}

class OpenFromOutside : public ::testing::Test {
protected:
    TDialogSeams Seams;
    std::unique_ptr<TFrmMP3Editor> Form = std::make_unique<TFrmMP3Editor>();

    struct TAnswer {
        bool Accepted;
        Qt::DropAction Action;
    };

    // A drag entering target and dropped there; the answers to the drag's
    // entry and to the drop. The file opens after the drop's event.
    std::pair<TAnswer, TAnswer> DragAndDrop(QWidget* target, const QMimeData& data,
                                            Qt::DropActions offered = Qt::CopyAction |
                                                                      Qt::MoveAction) {
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        QDropEvent drop(QPointF(at), offered, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
        QCoreApplication::processEvents();
        return {{enter.isAccepted(), enter.dropAction()}, {drop.isAccepted(), drop.dropAction()}};
    }

    // The texts an open leaves on the window.
    static QStringList WindowTexts(TFrmMP3Editor& form) {
        const TEditorControls f(form);
        QStringList texts;
        for (TLabel* l : {f.Label12, f.Label18, f.Label19, f.Label20, f.Label21, f.Label22,
                          f.Label24, f.Label1})
            texts << l->Caption();
        for (TEdit* e : {f.RzEdit1, f.RzEdit2, f.RzEdit3, f.RzEdit5, f.RzEdit6, f.RzEdit7})
            texts << e->Text();
        texts << f.RzMaskEdit1->Text() << f.RzMaskEdit2->Text()
              << QString::number(f.RzCheckBox1->Checked()) << QString::number(f.BtnSaveMp3->isEnabled());
        return texts;
    }

    int SaveClicks = 0;
    void CountSaveClicks() {
        QObject::connect(TEditorControls(*Form).BtnSaveMp3, &TPictureButton::Click, [this] { ++SaveClicks; });
    }
    void ShowActive() {
        Form->show();
        Form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    }
};

} // namespace

TEST_F(OpenFromOutside, DroppedFileOpensExactlyAsTheOpenDialogWould) {
    const QString path = Fixture("cbr128-tags.mp3");
    const auto [enter, drop] = DragAndDrop(Form.get(), *FileData(path));
    // A copy, never a move: the source must keep its file.
    EXPECT_TRUE(enter.Accepted);
    EXPECT_EQ(enter.Action, Qt::CopyAction);
    EXPECT_TRUE(drop.Accepted);
    EXPECT_EQ(drop.Action, Qt::CopyAction);

    TFrmMP3Editor byDialog;
    OpenThroughDialog(byDialog, Seams, path);
    EXPECT_EQ(WindowTexts(*Form), WindowTexts(byDialog));
    EXPECT_EQ(TEditorControls(*Form).Label12->Caption(), path);
    EXPECT_NE(TEditorControls(*Form).Label22->Caption(), QString());
    EXPECT_FALSE(TEditorControls(*Form).PanelState->isVisible());
}

TEST_F(OpenFromOutside, DropOntoATagFieldOpensTheFileInsteadOfPastingItsName) {
    const QString path = Fixture("vbr48k.mp3");
    OpenThroughDialog(*Form, Seams, Fixture("cbr128-tags.mp3"));
    ASSERT_TRUE(TEditorControls(*Form).RzEdit1->isEnabled());
    const auto [enter, drop] = DragAndDrop(TEditorControls(*Form).RzEdit1, *FileData(path));
    EXPECT_TRUE(drop.Accepted);
    EXPECT_EQ(TEditorControls(*Form).Label12->Caption(), path);
    EXPECT_FALSE(TEditorControls(*Form).RzEdit1->Text().contains(QLatin1String("file:")));
}

TEST_F(OpenFromOutside, AnythingButOneLocalFileIsRefusedAndChangesNothing) {
    QTemporaryDir folder;
    const QString mp3 = Fixture("mono8k.mp3");
    auto text = std::make_unique<QMimeData>();
    text->setText(mp3);
    const std::vector<std::pair<const char*, std::unique_ptr<QMimeData>>> refused = [&] {
        std::vector<std::pair<const char*, std::unique_ptr<QMimeData>>> list;
        list.emplace_back("two files", Urls({QUrl::fromLocalFile(mp3),
                                             QUrl::fromLocalFile(Fixture("vbr48k.mp3"))}));
        list.emplace_back("a remote file", Urls({QUrl(QStringLiteral("https://example.org/a.mp3"))}));
        list.emplace_back("a folder", FileData(folder.path()));
        list.emplace_back("no file at all", Urls({}));
        list.emplace_back("plain text", std::move(text));
        return list;
    }();
    for (const auto& [what, data] : refused) {
        const auto [enter, drop] = DragAndDrop(Form.get(), *data);
        EXPECT_FALSE(enter.Accepted) << what;
        EXPECT_FALSE(drop.Accepted) << what;
    }
    // A source that offers only to move its file away.
    const auto [enter, drop] = DragAndDrop(Form.get(), *FileData(mp3), Qt::MoveAction);
    EXPECT_FALSE(drop.Accepted);

    EXPECT_EQ(TEditorControls(*Form).Label12->Caption(), QString());
    EXPECT_FALSE(TEditorControls(*Form).BtnSaveMp3->isEnabled());
    EXPECT_TRUE(Seams.Boxes.empty());
    EXPECT_TRUE(Seams.Reports.empty());
}

TEST_F(OpenFromOutside, NoDropWhileTheWaitPanelIsUp) {
    TEditorControls(*Form).PanelState->SetVisible(true);
    const auto [enter, drop] = DragAndDrop(Form.get(), *FileData(Fixture("mono8k.mp3")));
    EXPECT_FALSE(enter.Accepted);
    EXPECT_FALSE(drop.Accepted);
    EXPECT_EQ(TEditorControls(*Form).Label12->Caption(), QString());
}

TEST_F(OpenFromOutside, DroppedFilesThatCannotBeOpenedGetTheDialogsMessages) {
    QTemporaryDir folder;
    const QString text = folder.filePath(QStringLiteral("notes.mp3"));
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("no audio in here\n");
    file.close();
    DragAndDrop(Form.get(), *FileData(text));
    ASSERT_EQ(Seams.Boxes.size(), 1u);
    EXPECT_EQ(Seams.Boxes[0].Text, text + QStringLiteral("\r\n") + EnglishMessage("Ms_NotMP3"));

    // Gone by the time it is dropped: the file system's error, reported.
    DragAndDrop(Form.get(), *FileData(folder.filePath(QStringLiteral("gone.mp3"))));
    EXPECT_EQ(Seams.Reports.size(), 1u);
    EXPECT_FALSE(TEditorControls(*Form).PanelState->isVisible());
}

TEST_F(OpenFromOutside, ShortcutsDoWhatTheirButtonsDoAndNothingWhileTheyAreDisabled) {
    CountSaveClicks();
    ShowActive();
    // Save As is disabled with no file: Ctrl+S does nothing.
    QTest::keyClick(Form.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(SaveClicks, 0);

    Seams.Answer = Fixture("mono8k.mp3");
    QTest::keyClick(Form.get(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(Seams.Executes, 1);
    EXPECT_EQ(TEditorControls(*Form).Label12->Caption(), Seams.Answer);
    ASSERT_TRUE(TEditorControls(*Form).BtnSaveMp3->isEnabled());
    QTest::keyClick(Form.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(SaveClicks, 1);

    // Also from inside a text field.
    TEditorControls(*Form).RzEdit1->setFocus();
    QTest::keyClick(TEditorControls(*Form).RzEdit1, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(SaveClicks, 2);
    // Each save asked for its destination through the save dialog.
    const int dialogs = Seams.Executes;
    EXPECT_EQ(dialogs, 3);

    TEditorControls(*Form).BtnOpenMp3->setEnabled(false);
    QTest::keyClick(Form.get(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(Seams.Executes, dialogs);
    TEditorControls(*Form).BtnOpenMp3->setEnabled(true);

    // Busy behind the wait panel: neither shortcut reacts.
    TEditorControls(*Form).PanelState->SetVisible(true);
    QTest::keyClick(Form.get(), Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(Form.get(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(Seams.Executes, dialogs);
    EXPECT_EQ(SaveClicks, 2);
}

// The open dialog starts in the folder of the file opened last, kept in the
// settings file for the next run; the first time in the music folder.
class OpenDialogStart : public ::testing::Test {
protected:
    void SetUp() override {
        FSavedFolder = ProgramFolder();
        for (const char* name : {"HOME", "XDG_CONFIG_HOME"})
            FSavedEnv.emplace_back(name, qgetenv(name));
        qputenv("HOME", QFile::encodeName(Home.path()));
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(Home.filePath(QStringLiteral("cfg"))));
    }
    void TearDown() override {
        SetProgramFolder(FSavedFolder);
        for (const auto& [name, value] : FSavedEnv)
            value.isNull() ? qunsetenv(name) : qputenv(name, value);
    }
    // The settings file goes with the program folder: a temporary one, with
    // the marker pictures a window needs.
    void UseProgramFolder(const QString& folder) {
        const QString from =
            QFile::decodeName(QByteArray::fromStdString(DataFolderFor(ExecutableFolder())));
        for (const char* name : {"MarkStart.bmp", "MarkEnd.bmp", "MarkStartD.bmp", "MarkEndD.bmp"})
            QFile::copy(from + QLatin1String(name), folder + QLatin1Char('/') + QLatin1String(name));
        SetProgramFolder(QFile::encodeName(folder).toStdString());
    }

    QTemporaryDir Program, Home;
    std::string FSavedFolder;
    std::vector<std::pair<const char*, QByteArray>> FSavedEnv;
};

TEST_F(OpenDialogStart, LastOpenedFolderThenTheMusicFolder) {
    UseProgramFolder(Program.path());
    EXPECT_EQ(OpenDialogFolder(), QString());  // no music folder yet
    ASSERT_TRUE(QDir(Home.path()).mkpath(QStringLiteral("Music")));
    EXPECT_EQ(OpenDialogFolder(), Home.filePath(QStringLiteral("Music")));

    // A name with blanks at its end and letters beyond ASCII survives.
    const QString songs = Home.filePath(QStringLiteral(" Lieder für dich "));
    ASSERT_TRUE(QDir().mkpath(songs));
    RememberOpenedFolder(songs + QStringLiteral("/a.mp3"));
    EXPECT_EQ(OpenDialogFolder(), songs);

    // The settings file's other entries stay.
    const std::string settings = SettingsFilePath();
    auto ini = TIniFile::Load(settings);
    ini.WriteString("LANGUAGE", "Default", "2");
    ini.Save(settings);
    RememberOpenedFolder(Home.filePath(QStringLiteral("Music/b.mp3")));
    EXPECT_EQ(TIniFile::Load(settings).ReadString("LANGUAGE", "Default", ""), "2");
    EXPECT_EQ(OpenDialogFolder(), Home.filePath(QStringLiteral("Music")));

    // A remembered folder that is gone: the music folder again.
    RememberOpenedFolder(songs + QStringLiteral("/a.mp3"));
    ASSERT_TRUE(QDir(songs).removeRecursively());
    EXPECT_EQ(OpenDialogFolder(), Home.filePath(QStringLiteral("Music")));
}

TEST_F(OpenDialogStart, SettingsGoToTheUserFolderWhenTheProgramFolderIsMissing) {
    UseProgramFolder(Program.filePath(QStringLiteral("gone")));
    const QString folder = Home.path();
    RememberOpenedFolder(folder + QStringLiteral("/x.mp3"));
    EXPECT_TRUE(QFileInfo::exists(Home.filePath(QStringLiteral("cfg/vivizu/Vivizu.ini"))));
    EXPECT_EQ(OpenDialogFolder(), folder);
}

TEST_F(OpenDialogStart, TheOpenButtonsDialogStartsInTheFolderOfTheLastFile) {
    TDialogSeams seams;
    TFrmMP3Editor form;
    UseProgramFolder(Program.path());
    QString startedIn;
    TFileDialogBase::SetExecuteHook([&](TFileDialogBase& dialog) {
        startedIn = dialog.InitialDir();
        dialog.SetFileName(Fixture("mono8k.mp3"));
        return true;
    });
    TEditorControls(form).BtnOpenMp3->click();
    TEditorControls(form).BtnOpenMp3->click();
    EXPECT_EQ(startedIn, QFileInfo(Fixture("mono8k.mp3")).absolutePath());
    // The next run reads it from the settings file.
    EXPECT_EQ(OpenDialogFolder(), startedIn);
}
