// The selection on the real main window: markers dragged with mouse events
// through the window system, times typed into the two fields, and the two
// kept in step. The window's ruler is 449 pixels wide at left 128, so the
// start marker runs 129..553 and the end marker 135..560.
#include "EditorTestSupport.h"
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
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    }

    void TearDown() override { w.reset(); }

    // What a successful analysis of a stream of lengthMs leaves behind, as
    // far as the selection is concerned.
    void Loaded(int64_t lengthMs) {
        w->Mp3()->Info.LengthMs = lengthMs;
        w->TrackBarPos->SetMax(static_cast<int32_t>(lengthMs));
        w->TrackBarPos->SetEnabled(true);
        w->ResetMarkers(true);
        w->MarkerToTime(TMarkerWhich::End);
        w->FStartTime = 0;
        w->FEndTime = w->TrackBarPos->Max();
    }

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

    int StartLeft() const { return w->ImageStart->Left(); }
    int EndLeft() const { return w->ImageEnd->Left(); }

    // Dialogs and message boxes answer here instead of blocking the test.
    test::TDialogSeams seams;
    std::unique_ptr<TFrmMP3Editor> w;
};

QImage ProgramBitmap(const char* name) {
    return QImage(QFile::decodeName(QByteArray::fromStdString(ProgramFolder())) +
                  QString::fromLatin1(name));
}

} // namespace

TEST_F(SelectionTest, AtCreationEverythingIsDisabledAndNothingReacts) {
    EXPECT_EQ(StartLeft(), 129);
    EXPECT_EQ(EndLeft(), 560);
    for (QWidget* c : std::initializer_list<QWidget*>{w->ImageStart, w->ImageEnd, w->LabelStart,
                                                      w->LabelEnd, w->RzMaskEdit1, w->RzMaskEdit2})
        EXPECT_FALSE(c->isEnabled()) << c->objectName().toStdString();
    EXPECT_EQ(w->ImageStart->Picture().toImage(), ProgramBitmap("MarkStartD.bmp"));
    EXPECT_EQ(w->ImageEnd->Picture().toImage(), ProgramBitmap("MarkEndD.bmp"));

    Drag(129, 40);
    Drag(560, -40);
    w->TimeToMarker(TMarkerWhich::Start, 1000);
    w->TimeToMarker(TMarkerWhich::End, 1000);
    w->MarkerToTime(TMarkerWhich::End);
    EXPECT_EQ(StartLeft(), 129);
    EXPECT_EQ(EndLeft(), 560);
    EXPECT_EQ(w->FStartTime, 0);
    EXPECT_EQ(w->FEndTime, 0);
    EXPECT_EQ(w->RzMaskEdit2->Text(), "000:00:00.000");
}

TEST_F(SelectionTest, OpeningAFileSelectsTheWholeStream) {
    test::OpenThroughDialog(*w, seams, test::Fixture("cbr128-tags.mp3"));
    ASSERT_TRUE(w->Mp3()->Valid);
    EXPECT_TRUE(seams.Boxes.empty());
    EXPECT_TRUE(seams.Reports.empty());
    const int64_t length = w->Mp3()->Info.LengthMs;
    ASSERT_GT(length, 0);

    EXPECT_EQ(StartLeft(), 129);
    EXPECT_EQ(EndLeft(), 560);
    EXPECT_EQ(w->FStartTime, 0);
    EXPECT_EQ(w->FEndTime, length);
    EXPECT_EQ(w->RzMaskEdit1->Text(), "000:00:00.000");
    EXPECT_EQ(w->RzMaskEdit2->Text(), MsToTimeText(length));
    for (QWidget* c : std::initializer_list<QWidget*>{w->ImageStart, w->ImageEnd, w->LabelStart,
                                                      w->LabelEnd, w->RzMaskEdit1, w->RzMaskEdit2})
        EXPECT_TRUE(c->isEnabled()) << c->objectName().toStdString();
    EXPECT_EQ(w->ImageStart->Picture().toImage(), ProgramBitmap("MarkStart.bmp"));
    EXPECT_EQ(w->ImageEnd->Picture().toImage(), ProgramBitmap("MarkEnd.bmp"));
}

TEST_F(SelectionTest, TenMinuteStreamAfterOpen) {
    Loaded(600000);
    EXPECT_EQ(StartLeft(), 129);
    EXPECT_EQ(EndLeft(), 560);
    EXPECT_EQ(w->RzMaskEdit1->Text(), "000:00:00.000");
    EXPECT_EQ(w->RzMaskEdit2->Text(), "000:10:00.000");
    EXPECT_EQ(w->FStartTime, 0);
    EXPECT_EQ(w->FEndTime, 600000);
}

TEST_F(SelectionTest, OnePixelDragsGiveRoundedTimes) {
    Loaded(600000);
    Drag(129, 1);
    EXPECT_EQ(StartLeft(), 130);
    EXPECT_EQ(w->FStartTime, 1415);
    EXPECT_EQ(w->RzMaskEdit1->Text(), "000:00:01.415");

    // Back to 129, then the end marker from its far right down to 135 (its
    // limit while the start marker is at 129: 6 pixels, not 7, after this
    // reset) and one pixel right of it.
    Loaded(600000);
    Drag(560, -500);
    EXPECT_EQ(EndLeft(), 135);
    EXPECT_EQ(w->FEndTime, 0);
    Drag(135, 1);
    EXPECT_EQ(EndLeft(), 136);
    EXPECT_EQ(w->FEndTime, 1412);
    EXPECT_EQ(w->RzMaskEdit2->Text(), "000:00:01.412");
}

TEST_F(SelectionTest, MarkersStopSevenPixelsApart) {
    Loaded(5400000);
    // The start marker runs up to 553; at its full-length place it stands for
    // the whole 90 minutes.
    Drag(129, 440);
    EXPECT_EQ(StartLeft(), 553);
    EXPECT_EQ(w->FStartTime, 5400000);
    EXPECT_EQ(w->RzMaskEdit1->Text(), "001:30:00.000");
    // The marker taken last is drawn over the other where they overlap.
    EXPECT_EQ(w->childAt(565, MarkerMidY), w->ImageStart);

    // Once the start marker has moved, the end marker stops 7 pixels right of it.
    Drag(553, -253);
    EXPECT_EQ(StartLeft(), 300);
    Drag(560, -500);
    EXPECT_EQ(EndLeft(), 307);
    EXPECT_EQ(w->FEndTime, RoundHalfEven(5400000.0 * (307 - 135) / 425));
    EXPECT_EQ(w->childAt(310, MarkerMidY), w->ImageEnd);
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
    EXPECT_EQ(w->FStartTime, 0);
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
    EXPECT_EQ(w->FStartTime, RoundHalfEven(600000.0 * 423 / 424));
}

TEST_F(SelectionTest, RightButtonStartsNoDragAndAnyReleaseEndsOne) {
    Loaded(600000);
    Press(137, Qt::RightButton);
    Move(200);
    Release(200, Qt::RightButton);
    EXPECT_EQ(StartLeft(), 129);
    EXPECT_FALSE(w->FStartMarker.Dragging);

    Press(137);
    Move(147);
    EXPECT_EQ(StartLeft(), 139);
    EXPECT_TRUE(w->FStartMarker.Dragging);
    // A right click while the left button is held ends the drag.
    Press(147, Qt::RightButton);
    Release(157, Qt::RightButton);
    EXPECT_EQ(StartLeft(), 149); // the release position still counts
    EXPECT_FALSE(w->FStartMarker.Dragging);
    Move(250);
    EXPECT_EQ(StartLeft(), 149);
    Release(250);
    EXPECT_EQ(w->FStartTime, RoundHalfEven(600000.0 * 20 / 424));

    // A reset, as opening another file does, ends a drag as well.
    Press(149 + GrabOffset);
    Loaded(600000);
    Move(300);
    Release(300);
    EXPECT_EQ(StartLeft(), 129);
}

TEST_F(SelectionTest, TypedTimesMoveTheMarkers) {
    Loaded(600000);
    TypeAt(w->RzMaskEdit1, 5, Qt::Key_5);
    EXPECT_EQ(w->RzMaskEdit1->Text(), "000:05:00.000");
    EXPECT_EQ(w->FStartTime, 300000);
    EXPECT_EQ(StartLeft(), 341);
    EXPECT_EQ(w->FStartMarker.CurLeft, 341);
    EXPECT_EQ(w->FEndMarker.MinLeft, 348);

    Loaded(600000);
    TypeAt(w->RzMaskEdit2, 4, Qt::Key_0); // 000:00:00.000
    EXPECT_EQ(w->FEndTime, 0);
    EXPECT_EQ(EndLeft(), 135);
    TypeAt(w->RzMaskEdit2, 5, Qt::Key_5);
    EXPECT_EQ(w->RzMaskEdit2->Text(), "000:05:00.000");
    EXPECT_EQ(w->FEndTime, 300000);
    EXPECT_EQ(EndLeft(), 347); // 135 + 212.5, rounded to even
    EXPECT_EQ(w->FStartMarker.MaxLeft, 340);
}

TEST_F(SelectionTest, TensDigitsAboveFiveBecomeFiveWithTheCaretInPlace) {
    Loaded(5400000);
    TypeAt(w->RzMaskEdit1, 4, Qt::Key_7);
    EXPECT_EQ(w->RzMaskEdit1->Text(), "000:50:00.000");
    EXPECT_EQ(w->RzMaskEdit1->SelStart(), 5);
    EXPECT_EQ(w->FStartTime, 3000000);

    TypeAt(w->RzMaskEdit1, 7, Qt::Key_9);
    EXPECT_EQ(w->RzMaskEdit1->Text(), "000:50:50.000");
    EXPECT_EQ(w->RzMaskEdit1->SelStart(), 8);
    EXPECT_EQ(w->FStartTime, 3050000);

    // Above the bound after the rule: clamped further, caret still in place.
    Loaded(600000);
    TypeAt(w->RzMaskEdit1, 4, Qt::Key_7);
    EXPECT_EQ(w->RzMaskEdit1->Text(), "000:10:00.000");
    EXPECT_EQ(w->RzMaskEdit1->SelStart(), 5);
    EXPECT_EQ(w->FStartTime, 600000);
    EXPECT_EQ(StartLeft(), 553);
}

TEST_F(SelectionTest, DeletedDigitsBecomeZero) {
    Loaded(5400000);
    TypeAt(w->RzMaskEdit1, 4, Qt::Key_1);
    TypeAt(w->RzMaskEdit1, 5, Qt::Key_2);
    EXPECT_EQ(w->RzMaskEdit1->Text(), "000:12:00.000");

    TypeAt(w->RzMaskEdit1, 5, Qt::Key_Delete);
    EXPECT_EQ(w->RzMaskEdit1->Text(), "000:10:00.000");
    EXPECT_EQ(w->RzMaskEdit1->SelStart(), 5);
    EXPECT_EQ(w->FStartTime, 600000);

    TypeAt(w->RzMaskEdit1, 5, Qt::Key_Backspace); // blanks position 4
    EXPECT_EQ(w->RzMaskEdit1->Text(), "000:00:00.000");
    EXPECT_EQ(w->RzMaskEdit1->SelStart(), 4);
    EXPECT_EQ(w->FStartTime, 0);
    EXPECT_EQ(StartLeft(), 129);
}

TEST_F(SelectionTest, TypedTimesStayWithinTheirBounds) {
    Loaded(600000);
    // End field: 000:05:00.000, then the start field beyond it.
    TypeAt(w->RzMaskEdit2, 4, Qt::Key_0);
    TypeAt(w->RzMaskEdit2, 5, Qt::Key_5);
    ASSERT_EQ(w->FEndTime, 300000);
    TypeAt(w->RzMaskEdit1, 5, Qt::Key_7);
    EXPECT_EQ(w->RzMaskEdit1->Text(), "000:05:00.000");
    EXPECT_EQ(w->FStartTime, 300000);
    EXPECT_EQ(StartLeft(), 341);

    // End field: before the start time, and after the stream's end.
    TypeAt(w->RzMaskEdit2, 5, Qt::Key_1);
    EXPECT_EQ(w->RzMaskEdit2->Text(), "000:05:00.000");
    EXPECT_EQ(w->FEndTime, 300000);
    TypeAt(w->RzMaskEdit2, 2, Qt::Key_1); // 001:05:00.000
    EXPECT_EQ(w->RzMaskEdit2->Text(), "000:10:00.000");
    EXPECT_EQ(w->RzMaskEdit2->SelStart(), 4); // typing stepped over the ":"
    EXPECT_EQ(w->FEndTime, 600000);
    EXPECT_EQ(EndLeft(), 560);
}

TEST_F(SelectionTest, LargestPastedTimeGivesTheEndTime) {
    Loaded(600000);
    QGuiApplication::clipboard()->setText(QStringLiteral("999:59:59.999"));
    w->RzMaskEdit1->setFocus();
    w->RzMaskEdit1->selectAll();
    QTest::keyClick(w->RzMaskEdit1, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(w->RzMaskEdit1->Text(), "000:10:00.000");
    EXPECT_EQ(w->FStartTime, 600000);
    EXPECT_EQ(StartLeft(), 553);
}

TEST_F(SelectionTest, ProgramWritesUnderTheTagAreLeftAlone) {
    Loaded(600000);
    w->RzMaskEdit1->SetTag(1);
    w->RzMaskEdit1->SetText(QStringLiteral("000:75:00.000"));
    w->RzMaskEdit1->SetTag(0);
    EXPECT_EQ(w->RzMaskEdit1->Text(), "000:75:00.000");
    EXPECT_EQ(w->FStartTime, 0);
    EXPECT_EQ(StartLeft(), 129);
    // Without the tag the same write is read like typing.
    w->RzMaskEdit1->SetText(QStringLiteral("000:03:00.000"));
    EXPECT_EQ(w->FStartTime, 180000);
    EXPECT_EQ(w->RzMaskEdit1->Tag(), 0);
}

TEST_F(SelectionTest, StreamOfLengthZeroKeepsMarkersAtTimeZero) {
    Loaded(0);
    EXPECT_EQ(w->FEndTime, 0);
    EXPECT_EQ(w->RzMaskEdit2->Text(), "000:00:00.000");
    w->TimeToMarker(TMarkerWhich::Start, 1234);
    EXPECT_EQ(StartLeft(), 129);
    EXPECT_EQ(w->FStartTime, 1234);
    TypeAt(w->RzMaskEdit2, 8, Qt::Key_4);
    EXPECT_EQ(w->RzMaskEdit2->Text(), "000:00:00.000");
    EXPECT_EQ(EndLeft(), 135);
    Drag(135, 100);
    EXPECT_EQ(w->FEndTime, 0);
}

TEST_F(SelectionTest, MissingBitmapStopsTheReset) {
    const std::string folder = ProgramFolder();
    QTemporaryDir empty;
    SetProgramFolder(WithTrailingSlash(QFile::encodeName(empty.path()).toStdString()));
    try {
        w->ResetMarkers(true);
        ADD_FAILURE() << "no error for a missing bitmap";
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("MarkStart.bmp"), std::string::npos) << e.what();
    }
    SetProgramFolder(folder);
    EXPECT_FALSE(w->ImageStart->isEnabled());
    EXPECT_FALSE(w->RzMaskEdit1->isEnabled());
    EXPECT_EQ(w->ImageEnd->Picture().toImage(), ProgramBitmap("MarkEndD.bmp"));
}
