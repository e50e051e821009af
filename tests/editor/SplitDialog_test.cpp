// The split dialog: its count of pieces, from one decode in the background,
// is the companion's for the same threshold and shortest pause; its values
// reach the split; the pieces' titles carry their numbers.
#include "EditorTestSupport.h"
#include "tests/engine/Mp3Bytes.h"

#include "editor/PieceTitle.h"
#include "editor/SplitDialog.h"
#include "engine/RoruvoMp3.h"
#include "widgets/CheckBox.h"
#include "widgets/Edit.h"
#include "widgets/Label.h"
#include "widgets/MenuItem.h"

#include <QDir>
#include <QDoubleSpinBox>
#include <QProgressDialog>
#include <QTimer>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdio>
#include <iomanip>
#include <memory>
#include <sstream>

using namespace vivizu;
using namespace vivizu::test;

namespace {

// The pieces the companion's dry run of a silence split plans: the rows
// under its "piece" heading, or 1 when it finds no pause.
int CompanionPieces(const std::string& file, double thresholdDb, double minSeconds) {
    std::ostringstream command;
    command << "'" << VIVIZU_CLI << "' split --silence --dry-run --threshold " << thresholdDb
            << " --min-length " << std::fixed << std::setprecision(2) << minSeconds << " '" << file << "' 2>/dev/null";
    FILE* pipe = popen(command.str().c_str(), "r");
    if (!pipe)
        return -1;
    std::string output;
    char buffer[512];
    while (fgets(buffer, sizeof buffer, pipe))
        output += buffer;
    const int status = pclose(pipe);
    std::istringstream lines(output);
    std::string line;
    bool pieces = false;
    int count = 0;
    while (std::getline(lines, line)) {
        if (line.starts_with("piece"))
            pieces = true;
        else if (pieces && !line.empty())
            ++count;
    }
    return status == 0 ? count : 1;
}

std::string TitleOf(const std::string& path) {
    const TRoruvoMP3 piece(path);
    return std::string(piece.Info.Tag.Title, strnlen(piece.Info.Tag.Title, sizeof piece.Info.Tag.Title));
}

class SplitDialog : public ::testing::Test {
protected:
    SplitDialog() {
        Form = std::make_unique<TFrmMP3Editor>();
        Source = Temp.Write("Talk.mp3", ReadAll(Fixture("tone-pause-tone.mp3").toStdString()));
        OpenThroughDialog(*Form, Seams, QString::fromStdString(Source));
        std::filesystem::create_directories(Temp / "out");
    }

    TDialogSeams Seams;
    TempDir Temp;
    std::string Source;
    std::unique_ptr<TFrmMP3Editor> Form;
};

TEST_F(SplitDialog, ItsCountOfPiecesIsTheCompanionsForEveryValue) {
    struct Case {
        double Threshold, MinPause;
    };
    // The pause is 0.99 s long: too short for the defaults, found from
    // 0.5 s on; being digital silence, it stays one even at -110 dBFS.
    const Case cases[] = {{-48.0, 1.0}, {-48.0, 0.5}, {-80.0, 0.5}, {-20.0, 0.2}, {-110.0, 0.3}};
    std::vector<std::pair<size_t, int>> counts;
    Seams.SplitAnswer = [&](TFrmSplit& dialog) {
        EXPECT_EQ(dialog.SpinThreshold->value(), -48.0); // the companion's defaults
        EXPECT_EQ(dialog.SpinMinPause->value(), 1.0);
        for (int i = 0; i < 2000 && !dialog.PieceCount(); ++i)
            QTest::qWait(10);
        if (!dialog.PieceCount()) {
            ADD_FAILURE() << "the dialog counted nothing in 20 s";
            return false;
        }
        for (const Case& c : cases) {
            dialog.SpinThreshold->setValue(c.Threshold);
            dialog.SpinMinPause->setValue(c.MinPause);
            EXPECT_EQ(dialog.LabelPiecesValue->Caption(), QString::number(*dialog.PieceCount()));
            counts.emplace_back(*dialog.PieceCount(), CompanionPieces(Source, c.Threshold, c.MinPause));
        }
        return false; // Cancel: no folder is asked for
    };
    const int executes = Seams.Executes;
    TEditorControls(*Form).PM_SplitSilence->DoClick();
    EXPECT_EQ(Seams.SplitDialogs, 1);
    EXPECT_EQ(Seams.Executes, executes);
    ASSERT_EQ(counts.size(), std::size(cases));
    for (size_t i = 0; i < counts.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(static_cast<int>(counts[i].first), counts[i].second);
    }
    EXPECT_EQ(counts[0].first, 1u);
    EXPECT_EQ(counts[1].first, 2u);
}

TEST_F(SplitDialog, TheChosenValuesSplitAndThePiecesAreTitledWithTheirNumbers) {
    TEditorControls f(*Form);
    f.RzCheckBox1->SetChecked(true);
    f.RzEdit1->setText("Morning talk");
    Seams.SplitAnswer = [](TFrmSplit& dialog) {
        dialog.SpinMinPause->setValue(0.5);
        return true; // whether or not the decode is done
    };
    Seams.Answer = QString::fromStdString(Temp / "out");
    f.PM_SplitSilence->DoClick();
    ASSERT_EQ(Seams.Boxes.size(), 1u) << Seams.Boxes[0].Text.toStdString();
    EXPECT_EQ(Seams.Boxes[0].Text, EnglishMessage("Ms_SplitDone").arg(2).arg(QString::fromStdString(Temp / "out")));
    EXPECT_EQ(TitleOf(Temp / "out/Talk 1.mp3"), "Morning talk 1");
    EXPECT_EQ(TitleOf(Temp / "out/Talk 2.mp3"), "Morning talk 2");

    // With no title, the source's name stands for it.
    f.RzEdit1->setText("");
    std::filesystem::create_directories(Temp / "out2");
    Seams.Answer = QString::fromStdString(Temp / "out2");
    f.PM_SplitSilence->DoClick();
    EXPECT_EQ(TitleOf(Temp / "out2/Talk 1.mp3"), "Talk 1");
    EXPECT_EQ(TitleOf(Temp / "out2/Talk 2.mp3"), "Talk 2");
    // The dialog kept the value it was given last.
    EXPECT_EQ(Form->findChild<TFrmSplit*>()->SpinMinPause->value(), 0.5);
}

TEST_F(SplitDialog, CancelInTheProgressWindowStopsBeforeTheNextPiece) {
    Seams.SplitAnswer = [](TFrmSplit& dialog) {
        dialog.SpinMinPause->setValue(0.5);
        return true;
    };
    Seams.Answer = QString::fromStdString(Temp / "out");
    // Pressed as soon as the progress window stands: before the first piece.
    QTimer press;
    press.setInterval(0);
    QObject::connect(&press, &QTimer::timeout, [&] {
        if (auto* progress = Form->findChild<QProgressDialog*>())
            progress->cancel();
    });
    press.start();
    TEditorControls(*Form).PM_SplitSilence->DoClick();
    press.stop();
    ASSERT_EQ(Seams.Boxes.size(), 1u);
    EXPECT_TRUE(Seams.Boxes[0].Text.startsWith(EnglishMessage("Ms_SplitCancelled")));
    EXPECT_TRUE(Seams.Boxes[0].Text.endsWith(
        EnglishMessage("Ms_SplitDone").arg(0).arg(QString::fromStdString(Temp / "out"))));
    EXPECT_EQ(QDir(QString::fromStdString(Temp / "out")).entryList(QDir::Files).size(), 0);
    EXPECT_FALSE(Form->findChild<QProgressDialog*>());
}

TEST(PieceTitle, TheNumberAlwaysFitsTheTagsThirtyCharacters) {
    EXPECT_EQ(NumberedPieceTitle("Talk", "file", 3), "Talk 3");
    EXPECT_EQ(NumberedPieceTitle("  ", "file", 12), "file 12");
    const QString long30 = QString(30, QLatin1Char('x'));
    EXPECT_EQ(NumberedPieceTitle(long30, "file", 12), QString(27, QLatin1Char('x')) + " 12");
    // A character outside the basic plane is not cut in half.
    const QString clef = QString(27, QLatin1Char('a')) + QString::fromUtf8("\xF0\x9D\x84\x9E") + "b";
    EXPECT_EQ(NumberedPieceTitle(clef, "file", 5), QString(27, QLatin1Char('a')) + " 5");
}

} // namespace
