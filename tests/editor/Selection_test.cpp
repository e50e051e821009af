// The selection on the real main window: markers dragged with mouse events
// through the window system, times typed into the two fields, and the two
// kept in step. The window's ruler is 449 pixels wide at left 128, so the
// start marker runs 129..553 and the end marker 135..560.
#include "EditorTestSupport.h"
#include "tests/engine/Mp3Bytes.h"
#include "editor/TimeParse.h"
#include "editor/TimeText.h"
#include "editor/UnitMP3Editor.h"
#include "engine/RoruvoMp3.h"
#include "platform/ProgramFolder.h"
#include "widgets/Image.h"
#include "widgets/Label.h"
#include "widgets/MaskEdit.h"
#include "widgets/TrackBar.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>

using namespace vivizu;

namespace {

constexpr int MarkerMidY = 181; // markers are 16x16 at top 173
constexpr int GrabOffset = 8;   // where the tests take hold of a marker

class SelectionTest : public ::testing::Test {
protected:
    void SetUp() override {
        w = std::make_unique<TFrmMP3Editor>();
        ui = std::make_unique<test::TEditorControls>(*w);
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    }

    void TearDown() override {
        ui.reset();
        w.reset();
    }

    // Opens a stream of lengthMs (a multiple of 24) through the Open
    // button: MPEG 2 Layer III frames of 24 bytes and 24 ms each, or for a
    // length of 0 one frame cut short, which holds no whole frame.
    void Loaded(int64_t lengthMs) {
        constexpr test::Header H8k24{0xFF, 0xF3, 0x14, 0xC4};
        ASSERT_EQ(lengthMs % 24, 0);
        test::Bytes bytes;
        if (lengthMs == 0) {
            bytes = test::Slice(test::Frame(H8k24, 0x10), 0, 12);
        } else {
            const test::Bytes frame = test::Frame(H8k24, 0x10);
            bytes.reserve(frame.size() * static_cast<size_t>(lengthMs / 24));
            for (int64_t i = 0; i < lengthMs / 24; ++i)
                bytes.insert(bytes.end(), frame.begin(), frame.end());
        }
        const std::string path = Files.Write("stream.mp3", bytes);
        test::OpenThroughDialog(*w, seams, QString::fromStdString(path));
        ASSERT_TRUE(ui->BtnSaveMp3->isEnabled());
        ASSERT_EQ(ui->Label22->Caption(), MsToTimeText(lengthMs));
    }

    // The selection as the two time fields show it.
    int64_t StartShown() const { return TimeTextToMs(ui->RzMaskEdit1->Text()); }
    int64_t EndShown() const { return TimeTextToMs(ui->RzMaskEdit2->Text()); }

    QWindow* Win() const { return w->windowHandle(); }
    void Press(int x, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mousePress(Win(), button, {}, QPoint(x, MarkerMidY));
    }
    void Move(int x, int y = MarkerMidY) { QTest::mouseMove(Win(), QPoint(x, y)); }
    void Release(int x, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseRelease(Win(), button, {}, QPoint(x, MarkerMidY));
    }
    // A whole drag: take the marker whose left edge is at `left`, move the
    // pointer by dx, let go.
    void Drag(int left, int dx) {
        Press(left + GrabOffset);
        Move(left + GrabOffset + dx);
        Release(left + GrabOffset + dx);
    }

    // Puts the caret of a field at pos and types one key.
    static void TypeAt(TMaskEdit* field, int pos, Qt::Key key) {
        field->setFocus();
        field->SetSelStart(pos);
        QTest::keyClick(field, key);
    }

    int StartLeft() const { return ui->ImageStart->Left(); }
    int EndLeft() const { return ui->ImageEnd->Left(); }

    // Dialogs and message boxes answer here instead of blocking the test.
    test::TDialogSeams seams;
    test::TempDir Files;
    std::unique_ptr<TFrmMP3Editor> w;
    std::unique_ptr<test::TEditorControls> ui;
};

QImage ProgramBitmap(const char* name) {
    return QImage(QFile::decodeName(QByteArray::fromStdString(ProgramFolder())) +
                  QString::fromLatin1(name));
}

} // namespace

TEST_F(SelectionTest, AtCreationEverythingIsDisabledAndNothingReacts) {
    EXPECT_EQ(StartLeft(), 129);
    EXPECT_EQ(EndLeft(), 560);
    for (QWidget* c : std::initializer_list<QWidget*>{ui->ImageStart, ui->ImageEnd, ui->LabelStart,
                                                      ui->LabelEnd, ui->RzMaskEdit1, ui->RzMaskEdit2})
        EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
    EXPECT_EQ(ui->ImageStart->Picture().toImage(), ProgramBitmap("MarkStartD.bmp"));
    EXPECT_EQ(ui->ImageEnd->Picture().toImage(), ProgramBitmap("MarkEndD.bmp"));

    Drag(129, 40);
    Drag(560, -40);
    // A time written into a switched-off field moves no marker.
    ui->RzMaskEdit1->SetText(QStringLiteral("000:00:01.000"));
    ui->RzMaskEdit2->SetText(QStringLiteral("000:00:01.000"));
    EXPECT_EQ(StartLeft(), 129);
    EXPECT_EQ(EndLeft(), 560);
    EXPECT_FALSE(ui->BtnSaveMp3->isEnabled());
}

TEST_F(SelectionTest, OpeningAFileSelectsTheWholeStream) {
    test::OpenThroughDialog(*w, seams, test::Fixture("cbr128-tags.mp3"));
    ASSERT_TRUE(ui->BtnSaveMp3->isEnabled());
    EXPECT_TRUE(seams.Boxes.empty());
    EXPECT_TRUE(seams.Reports.empty());
    const int64_t length = TRoruvoMP3(test::Fixture("cbr128-tags.mp3").toStdString()).Info.LengthMs;
    ASSERT_GT(length, 0);

    EXPECT_EQ(StartLeft(), 129);
    EXPECT_EQ(EndLeft(), 560);
    EXPECT_EQ(StartShown(), 0);
    EXPECT_EQ(EndShown(), length);
    EXPECT_EQ(ui->RzMaskEdit1->Text(), "000:00:00.000");
    EXPECT_EQ(ui->RzMaskEdit2->Text(), MsToTimeText(length));
    for (QWidget* c : std::initializer_list<QWidget*>{ui->ImageStart, ui->ImageEnd, ui->LabelStart,
                                                      ui->LabelEnd, ui->RzMaskEdit1, ui->RzMaskEdit2})
        EXPECT_TRUE(c->isEnabled()) << c->objectName().toStdString();
    EXPECT_EQ(ui->ImageStart->Picture().toImage(), ProgramBitmap("MarkStart.bmp"));
    EXPECT_EQ(ui->ImageEnd->Picture().toImage(), ProgramBitmap("MarkEnd.bmp"));
}

TEST_F(SelectionTest, TenMinuteStreamAfterOpen) {
    Loaded(600000);
    EXPECT_EQ(StartLeft(), 129);
    EXPECT_EQ(EndLeft(), 560);
    EXPECT_EQ(ui->RzMaskEdit1->Text(), "000:00:00.000");
    EXPECT_EQ(ui->RzMaskEdit2->Text(), "000:10:00.000");
    EXPECT_EQ(StartShown(), 0);
    EXPECT_EQ(EndShown(), 600000);
}

TEST_F(SelectionTest, OnePixelDragsGiveRoundedTimes) {
    Loaded(600000);
    Drag(129, 1);
    EXPECT_EQ(StartLeft(), 130);
    EXPECT_EQ(StartShown(), 1415);
    EXPECT_EQ(ui->RzMaskEdit1->Text(), "000:00:01.415");

    // Back to 129, then the end marker from its far right down to 135 (its
    // limit while the start marker is at 129: 6 pixels, not 7, after this
    // reset) and one pixel right of it.
    Loaded(600000);
    Drag(560, -500);
    EXPECT_EQ(EndLeft(), 135);
    EXPECT_EQ(EndShown(), 0);
    Drag(135, 1);
    EXPECT_EQ(EndLeft(), 136);
    EXPECT_EQ(EndShown(), 1412);
    EXPECT_EQ(ui->RzMaskEdit2->Text(), "000:00:01.412");
}

TEST_F(SelectionTest, MarkersStopSevenPixelsApart) {
    Loaded(5400000);
    // The start marker runs up to 553; at its full-length place it stands for
    // the whole 90 minutes.
    Drag(129, 440);
    EXPECT_EQ(StartLeft(), 553);
    EXPECT_EQ(StartShown(), 5400000);
    EXPECT_EQ(ui->RzMaskEdit1->Text(), "001:30:00.000");
    // The marker taken last is drawn over the other where they overlap.
    EXPECT_EQ(w->childAt(565, MarkerMidY), ui->ImageStart);

    // Once the start marker has moved, the end marker stops 7 pixels right of it.
    Drag(553, -253);
    EXPECT_EQ(StartLeft(), 300);
    Drag(560, -500);
    EXPECT_EQ(EndLeft(), 307);
    EXPECT_EQ(EndShown(), RoundHalfEven(5400000.0 * (307 - 135) / 425));
    EXPECT_EQ(w->childAt(310, MarkerMidY), ui->ImageEnd);
    // And the start marker now stops 7 pixels left of the end marker.
    Drag(300, 100);
    EXPECT_EQ(StartLeft(), 300);
}

TEST_F(SelectionTest, GrabPointStaysUnderThePointerPastALimit) {
    Loaded(600000);
    Press(129 + GrabOffset); // pointer at 137
    Move(50);                // past the lower limit: marker stays
    EXPECT_EQ(StartLeft(), 129);
    Move(136); // back, but short of the grab point
    EXPECT_EQ(StartLeft(), 129);
    EXPECT_EQ(StartShown(), 0);
    Move(138); // one past it: the marker follows
    EXPECT_EQ(StartLeft(), 130);

    Move(585); // cut short at 553; the pointer's spot is kept
    EXPECT_EQ(StartLeft(), 553);
    Move(591);
    Move(586);
    EXPECT_EQ(StartLeft(), 553);
    Move(584, 20); // one left of that spot, at any height
    EXPECT_EQ(StartLeft(), 552);
    Release(584);
    EXPECT_EQ(StartShown(), RoundHalfEven(600000.0 * 423 / 424));
}

TEST_F(SelectionTest, RightButtonStartsNoDragAndAnyReleaseEndsOne) {
    Loaded(600000);
    Press(137, Qt::RightButton);
    Move(200);
    Release(200, Qt::RightButton);
    EXPECT_EQ(StartLeft(), 129);
    Move(220); // no drag in progress: nothing follows the pointer
    EXPECT_EQ(StartLeft(), 129);

    Press(137);
    Move(147);
    EXPECT_EQ(StartLeft(), 139);
    // A right click while the left button is held ends the drag.
    Press(147, Qt::RightButton);
    Release(157, Qt::RightButton);
    EXPECT_EQ(StartLeft(), 149); // the release position still counts
    Move(250);
    EXPECT_EQ(StartLeft(), 149);
    Release(250);
    EXPECT_EQ(StartShown(), RoundHalfEven(600000.0 * 20 / 424));

    // A reset, as opening another file does, ends a drag as well.
    Press(149 + GrabOffset);
    Loaded(600000);
    Move(300);
    Release(300);
    EXPECT_EQ(StartLeft(), 129);
}

TEST_F(SelectionTest, TypedTimesMoveTheMarkers) {
    Loaded(600000);
    TypeAt(ui->RzMaskEdit1, 5, Qt::Key_5);
    EXPECT_EQ(ui->RzMaskEdit1->Text(), "000:05:00.000");
    EXPECT_EQ(StartShown(), 300000);
    EXPECT_EQ(StartLeft(), 341);
    // The end marker now stops 7 pixels right of the start marker.
    Drag(560, -500);
    EXPECT_EQ(EndLeft(), 348);

    Loaded(600000);
    TypeAt(ui->RzMaskEdit2, 4, Qt::Key_0); // 000:00:00.000
    EXPECT_EQ(EndShown(), 0);
    EXPECT_EQ(EndLeft(), 135);
    TypeAt(ui->RzMaskEdit2, 5, Qt::Key_5);
    EXPECT_EQ(ui->RzMaskEdit2->Text(), "000:05:00.000");
    EXPECT_EQ(EndShown(), 300000);
    EXPECT_EQ(EndLeft(), 347); // 135 + 212.5, rounded to even
    // The start marker now stops 7 pixels left of the end marker.
    Drag(129, 500);
    EXPECT_EQ(StartLeft(), 340);
}

TEST_F(SelectionTest, TensDigitsAboveFiveBecomeFiveWithTheCaretInPlace) {
    Loaded(5400000);
    TypeAt(ui->RzMaskEdit1, 4, Qt::Key_7);
    EXPECT_EQ(ui->RzMaskEdit1->Text(), "000:50:00.000");
    EXPECT_EQ(ui->RzMaskEdit1->SelStart(), 5);
    EXPECT_EQ(StartShown(), 3000000);

    TypeAt(ui->RzMaskEdit1, 7, Qt::Key_9);
    EXPECT_EQ(ui->RzMaskEdit1->Text(), "000:50:50.000");
    EXPECT_EQ(ui->RzMaskEdit1->SelStart(), 8);
    EXPECT_EQ(StartShown(), 3050000);

    // Above the bound after the rule: clamped further, caret still in place.
    Loaded(600000);
    TypeAt(ui->RzMaskEdit1, 4, Qt::Key_7);
    EXPECT_EQ(ui->RzMaskEdit1->Text(), "000:10:00.000");
    EXPECT_EQ(ui->RzMaskEdit1->SelStart(), 5);
    EXPECT_EQ(StartShown(), 600000);
    EXPECT_EQ(StartLeft(), 553);
}

TEST_F(SelectionTest, DeletedDigitsBecomeZero) {
    Loaded(5400000);
    TypeAt(ui->RzMaskEdit1, 4, Qt::Key_1);
    TypeAt(ui->RzMaskEdit1, 5, Qt::Key_2);
    EXPECT_EQ(ui->RzMaskEdit1->Text(), "000:12:00.000");

    TypeAt(ui->RzMaskEdit1, 5, Qt::Key_Delete);
    EXPECT_EQ(ui->RzMaskEdit1->Text(), "000:10:00.000");
    EXPECT_EQ(ui->RzMaskEdit1->SelStart(), 5);
    EXPECT_EQ(StartShown(), 600000);

    TypeAt(ui->RzMaskEdit1, 5, Qt::Key_Backspace); // blanks position 4
    EXPECT_EQ(ui->RzMaskEdit1->Text(), "000:00:00.000");
    EXPECT_EQ(ui->RzMaskEdit1->SelStart(), 4);
    EXPECT_EQ(StartShown(), 0);
    EXPECT_EQ(StartLeft(), 129);
}

TEST_F(SelectionTest, TypedTimesStayWithinTheirBounds) {
    Loaded(600000);
    // End field: 000:05:00.000, then the start field beyond it.
    TypeAt(ui->RzMaskEdit2, 4, Qt::Key_0);
    TypeAt(ui->RzMaskEdit2, 5, Qt::Key_5);
    ASSERT_EQ(EndShown(), 300000);
    TypeAt(ui->RzMaskEdit1, 5, Qt::Key_7);
    EXPECT_EQ(ui->RzMaskEdit1->Text(), "000:05:00.000");
    EXPECT_EQ(StartShown(), 300000);
    EXPECT_EQ(StartLeft(), 341);

    // End field: before the start time, and after the stream's end.
    TypeAt(ui->RzMaskEdit2, 5, Qt::Key_1);
    EXPECT_EQ(ui->RzMaskEdit2->Text(), "000:05:00.000");
    EXPECT_EQ(EndShown(), 300000);
    TypeAt(ui->RzMaskEdit2, 2, Qt::Key_1); // 001:05:00.000
    EXPECT_EQ(ui->RzMaskEdit2->Text(), "000:10:00.000");
    EXPECT_EQ(ui->RzMaskEdit2->SelStart(), 4); // typing stepped over the ":"
    EXPECT_EQ(EndShown(), 600000);
    EXPECT_EQ(EndLeft(), 560);
}

TEST_F(SelectionTest, LargestPastedTimeGivesTheEndTime) {
    Loaded(600000);
    QGuiApplication::clipboard()->setText(QStringLiteral("999:59:59.999"));
    ui->RzMaskEdit1->setFocus();
    ui->RzMaskEdit1->selectAll();
    QTest::keyClick(ui->RzMaskEdit1, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(ui->RzMaskEdit1->Text(), "000:10:00.000");
    EXPECT_EQ(StartShown(), 600000);
    EXPECT_EQ(StartLeft(), 553);
}

TEST_F(SelectionTest, ProgramWritesUnderTheTagAreLeftAlone) {
    Loaded(600000);
    ui->RzMaskEdit1->SetTag(1);
    ui->RzMaskEdit1->SetText(QStringLiteral("000:75:00.000"));
    ui->RzMaskEdit1->SetTag(0);
    EXPECT_EQ(ui->RzMaskEdit1->Text(), "000:75:00.000");
    EXPECT_EQ(StartLeft(), 129);
    // Without the tag the same write is read like typing.
    ui->RzMaskEdit1->SetText(QStringLiteral("000:03:00.000"));
    EXPECT_EQ(StartShown(), 180000);
    EXPECT_EQ(ui->RzMaskEdit1->Tag(), 0);
}

TEST_F(SelectionTest, StreamOfLengthZeroKeepsMarkersAtTimeZero) {
    Loaded(0);
    EXPECT_EQ(EndShown(), 0);
    EXPECT_EQ(ui->RzMaskEdit2->Text(), "000:00:00.000");
    ui->RzMaskEdit1->SetText(QStringLiteral("000:00:01.234"));
    EXPECT_EQ(StartLeft(), 129);
    EXPECT_EQ(StartShown(), 0); // no later than the end
    TypeAt(ui->RzMaskEdit2, 8, Qt::Key_4);
    EXPECT_EQ(ui->RzMaskEdit2->Text(), "000:00:00.000");
    EXPECT_EQ(EndLeft(), 135);
    Drag(135, 100);
    EXPECT_EQ(EndShown(), 0);
}

// Only the switched-off pictures are there: the open stops at the markers,
// which stay off with their fields, while the whole stream is selected for
// Play and Save.
TEST_F(SelectionTest, MissingBitmapStopsTheReset) {
    const std::string folder = ProgramFolder();
    QTemporaryDir pictures;
    for (const char* name : {"MarkStartD.bmp", "MarkEndD.bmp"})
        ASSERT_TRUE(QFile::copy(QString::fromStdString(folder) + name, pictures.filePath(name)));
    SetProgramFolder(WithTrailingSlash(QFile::encodeName(pictures.path()).toStdString()));
    test::OpenThroughDialog(*w, seams, test::Fixture("cbr128-tags.mp3"));
    SetProgramFolder(folder);
    ASSERT_EQ(seams.Reports.size(), 1u);
    EXPECT_TRUE(seams.Reports[0].Text.contains("MarkStart.bmp")) << seams.Reports[0].Text.toStdString();
    EXPECT_FALSE(ui->ImageStart->isEnabled());
    EXPECT_FALSE(ui->RzMaskEdit1->isEnabled());
    EXPECT_EQ(ui->RzMaskEdit2->Text(), "000:00:00.000");
    EXPECT_EQ(ui->ImageEnd->Picture().toImage(), ProgramBitmap("MarkEndD.bmp"));
    EXPECT_TRUE(ui->BtnSaveMp3->isEnabled());
    EXPECT_TRUE(ui->BtnPlayStart->isEnabled());
}
