// Save As proposes a name from the source and the selection, refuses the
// loaded file before any question about replacing a file, asks that
// question for another existing file only, and says in the status line
// where the selection went.
#include "EditorTestSupport.h"
#include "tests/engine/Mp3Bytes.h"

#include "editor/SaveName.h"
#include "widgets/Announcer.h"
#include "widgets/Label.h"
#include "widgets/MaskEdit.h"
#include "widgets/SaveDialog.h"

#include <QAccessible>
#include <QFileInfo>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using namespace vivizu;
using namespace vivizu::test;

namespace {

TEST(SaveAsName, TimesReadAtAGlanceAndSafeInAFileName) {
    EXPECT_EQ(FileNameTime(0), "0m00s");
    EXPECT_EQ(FileNameTime(62000), "1m02s");
    EXPECT_EQ(FileNameTime(62612), "1m02.612s");
    EXPECT_EQ(FileNameTime(220500), "3m40.5s");
    EXPECT_EQ(FileNameTime(220050), "3m40.05s");
    EXPECT_EQ(FileNameTime(3723004), "1h02m03.004s");
    EXPECT_EQ(FileNameTime(-5), "0m00s");
    const QString name = ProposedSaveName("/music/talk.mp3", 62000, 220000);
    EXPECT_EQ(name, "talk 1m02s-3m40s.mp3");
    // Only the last extension goes; no character a file system refuses.
    EXPECT_EQ(ProposedSaveName("/m/live.2024.MP3", 0, 1500), "live.2024 0m00s-0m01.5s.mp3");
    for (const QChar c : ProposedSaveName("/m/a.mp3", 3599999, 3600000))
        EXPECT_FALSE(QStringLiteral("/\\:*?\"<>|").contains(c)) << int(c.unicode());
}

class SaveAs : public ::testing::Test {
protected:
    SaveAs() {
        Form = std::make_unique<TFrmMP3Editor>();
        Source = Temp.Write("talk.mp3", Frames(H44, 400, 0));
        OpenThroughDialog(*Form, Seams, QString::fromStdString(Source));
        Seams.Boxes.clear();
    }
    void SetSelection(const char* start, const char* end) {
        TEditorControls f(*Form);
        f.RzMaskEdit1->setText(start);
        f.RzMaskEdit2->setText(end);
    }

    TDialogSeams Seams;
    TempDir Temp;
    std::string Source;
    std::unique_ptr<TFrmMP3Editor> Form;
};

TEST_F(SaveAs, TheDialogProposesTheSourcesNameWithTheSelectionsTimes) {
    SetSelection("000:00:01.000", "000:00:07.250");
    QString proposed;
    TFileDialogBase::SetExecuteHook([&](TFileDialogBase& dialog) {
        proposed = dialog.FileName();
        return false;
    });
    TEditorControls(*Form).BtnSaveMp3->click();
    TFileDialogBase::SetExecuteHook({});
    EXPECT_EQ(QFileInfo(proposed).fileName(), "talk 0m01s-0m07.25s.mp3");
    EXPECT_EQ(QFileInfo(proposed).absolutePath(), QFileInfo(QString::fromStdString(Source)).absolutePath());
}

TEST_F(SaveAs, TheLoadedFileIsRefusedBeforeAnyQuestionAndNothingIsWritten) {
    const Bytes before = ReadAll(Source);
    SaveThroughDialog(*Form, Seams, QString::fromStdString(Source));
    EXPECT_TRUE(Seams.Questions.empty());
    ASSERT_EQ(Seams.Boxes.size(), 1u);
    EXPECT_TRUE(Seams.Boxes[0].Text.startsWith(EnglishMessage("Ms_NotSaveName").replace("#13#10", "\r\n")));
    EXPECT_EQ(ReadAll(Source), before);
    // The dialog itself was not asked to question the replacement either.
    EXPECT_TRUE(TEditorControls(*Form).SaveDialog1->Options() & TFileDialogBase::OverwritePrompt);
}

TEST_F(SaveAs, AnotherExistingFileIsAskedAboutAndKeptWhenTheAnswerIsNo) {
    const std::string other = Temp.Write("other.mp3", TextBytes("keep me"));
    Seams.ReplaceAnswer = false;
    SaveThroughDialog(*Form, Seams, QString::fromStdString(other));
    ASSERT_EQ(Seams.Questions.size(), 1u);
    EXPECT_TRUE(Seams.Questions[0].Text.contains("other.mp3"));
    EXPECT_EQ(ReadAll(other), TextBytes("keep me"));
    Seams.ReplaceAnswer = true;
    SaveThroughDialog(*Form, Seams, QString::fromStdString(other));
    EXPECT_EQ(Seams.Questions.size(), 2u);
    EXPECT_NE(ReadAll(other), TextBytes("keep me"));
    // A new name asks nothing.
    SaveThroughDialog(*Form, Seams, QString::fromStdString(Temp / "new.mp3"));
    EXPECT_EQ(Seams.Questions.size(), 2u);
}

// Screen readers hear the same notice as a notification that appears and,
// with the status line, goes again.
TEST_F(SaveAs, TheStatusLineSaysWhereTheSelectionWentThenNamesTheLoadedFileAgain) {
    TEditorControls f(*Form);
    auto* announcer = Form->findChild<TAnnouncer*>(QStringLiteral("Announcer"));
    ASSERT_NE(announcer, nullptr);
    EXPECT_EQ(announcer->Notice(), nullptr);
    SaveThroughDialog(*Form, Seams, QString::fromStdString(Temp / "piece.mp3"));
    ASSERT_TRUE(Seams.Boxes.empty());
    const QString saved = EnglishMessage("Ms_Saved").arg("piece.mp3");
    EXPECT_EQ(f.Label12->Caption(), saved);
    ASSERT_NE(announcer->Notice(), nullptr);
    EXPECT_FALSE(announcer->Notice()->isHidden());
    QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(announcer->Notice());
    ASSERT_NE(spoken, nullptr);
    EXPECT_EQ(spoken->role(), QAccessible::Notification);
    EXPECT_EQ(spoken->text(QAccessible::Name), saved);
    QTRY_COMPARE_WITH_TIMEOUT(f.Label12->Caption(), QString::fromStdString(Source),
                              TFrmMP3Editor::SavedNoticeMs + 2000);
    EXPECT_EQ(announcer->Notice(), nullptr);
    // A failed save says nothing there.
    SaveThroughDialog(*Form, Seams, QString::fromStdString(Temp / "missing/piece.mp3"));
    EXPECT_EQ(f.Label12->Caption(), QString::fromStdString(Source));
    EXPECT_EQ(announcer->Notice(), nullptr);
}

} // namespace
