// Snapping markers to quiet in the window, on a file of tone, one second of
// silence (1.5 to 2.5 s) and tone: a marker dropped on the position bar, a
// line dropped on the overview and a typed time each land in the middle of
// the pause when the option is ticked, with the move shown in the position
// time for a moment; with the option off (the default) they stay where they
// were put.
#include "EditorTestSupport.h"

#include "editor/MarkerDrag.h"
#include "editor/OverviewBand.h"
#include "editor/OverviewJob.h"
#include "editor/Selection.h"
#include "editor/TimeParse.h"
#include "editor/TimeText.h"
#include "engine/RoruvoMp3.h"
#include "engine/decode/QuietPoint.h"
#include "tests/engine/Mp3Bytes.h"

#include <QFontMetrics>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using namespace vivizu;

namespace {

constexpr int MarkerMidY = 181; // the markers' middle row over the position bar
constexpr int GrabOffset = 8;
// The pause's middle, with the encoder's delay of about 25 ms, and how near
// a snap must come to it.
constexpr int64_t PauseMiddle = 2025;
constexpr int64_t Near = 60;

class SnapToQuiet : public ::testing::Test {
protected:
    void SetUp() override {
        w = std::make_unique<TFrmMP3Editor>();
        ui = std::make_unique<test::TEditorControls>(*w);
        w->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        test::OpenThroughDialog(*w, seams, test::Fixture("tone-pause-tone.mp3"));
        ASSERT_TRUE(ui->BtnSaveMp3->isEnabled());
        // The decoded levels, so that every run snaps on the same picture.
        auto* job = w->findChild<TOverviewJob*>();
        ASSERT_NE(job, nullptr);
        ASSERT_TRUE(QTest::qWaitFor([job] { return !job->Running(); }, 20000));
        QTest::qWait(50);
        band = w->findChild<TOverviewBand*>(QStringLiteral("OverviewBand"));
        ASSERT_NE(band, nullptr);
        ASSERT_FALSE(band->Levels().Empty());
    }

    int64_t EndShown() const { return TimeTextToMs(ui->RzMaskEdit2->Text()); }

    // Drags the end marker on the position bar to the place of ms; returns
    // the time of the place it was let go at.
    int64_t DropEndMarkerAt(int64_t ms) {
        const TMarkerDrag reset = EndMarkerAtReset(ui->TrackBarPos->x(), ui->TrackBarPos->width(), w.get());
        const int left = ui->ImageEnd->Left();
        const int target = MsToMarkerLeft(reset, ms, 4000);
        QWindow* win = w->windowHandle();
        QTest::mousePress(win, Qt::LeftButton, {}, QPoint(left + GrabOffset, MarkerMidY));
        QTest::mouseMove(win, QPoint(target + GrabOffset, MarkerMidY));
        const int64_t dropped = EndShown();
        QTest::mouseRelease(win, Qt::LeftButton, {}, QPoint(target + GrabOffset, MarkerMidY));
        return dropped;
    }

    // Types ms into the end field from its first digit on, then Enter.
    void TypeEnd(const char* digits) { TypeInto(ui->RzMaskEdit2, digits); }

    void TypeInto(TMaskEdit* field, const char* digits) {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_Home);
        QTest::keyClicks(field, QString::fromLatin1(digits));
    }

    test::TDialogSeams seams;
    std::unique_ptr<TFrmMP3Editor> w;
    std::unique_ptr<test::TEditorControls> ui;
    TOverviewBand* band = nullptr;
};

TEST_F(SnapToQuiet, OffByDefaultAMarkerStaysWhereItWasDropped) {
    EXPECT_FALSE(ui->PM_SnapToQuiet->Checked());
    const QString position = ui->Label1->Caption();
    const int64_t dropped = DropEndMarkerAt(1700);
    EXPECT_NEAR(static_cast<double>(dropped), 1700.0, 50.0) << "a pixel of the bar is about 10 ms";
    EXPECT_EQ(w->findChild<TSelection*>()->End(), dropped);
    EXPECT_EQ(ui->Label1->Caption(), position);

    TypeEnd("0000001800");
    QTest::keyClick(ui->RzMaskEdit2, Qt::Key_Return);
    EXPECT_EQ(EndShown(), 1800);
}

// The marker lands in the pause's middle on a frame boundary, and the
// position time says from where to where until the hint's time is up.
TEST_F(SnapToQuiet, ADroppedMarkerLandsInThePauseAndTheMoveIsShown) {
    ui->PM_SnapToQuiet->DoClick();
    ASSERT_TRUE(ui->PM_SnapToQuiet->Checked());
    const QString position = MsToTimeText(ui->TrackBarPos->Position());
    const QRect place = ui->Label1->geometry();
    const int64_t dropped = DropEndMarkerAt(1700);
    const int64_t end = w->findChild<TSelection*>()->End();
    EXPECT_NEAR(static_cast<double>(end), static_cast<double>(PauseMiddle), Near) << "dropped at " << dropped;
    EXPECT_EQ(EndShown(), end);
    const double frameMs = 1152 * 1000.0 / 44100;
    const double frames = static_cast<double>(end) / frameMs;
    EXPECT_NEAR(frames, std::round(frames), 0.5 / frameMs + 1e-9) << "a frame boundary, to the millisecond";
    EXPECT_EQ(ui->Label1->Caption(), SnapHintText(dropped, end));
    EXPECT_TRUE(ui->Label1->Caption().contains(QChar(0x2192)));
    // The hint is shown whole, not clipped by the label.
    EXPECT_LE(QFontMetrics(ui->Label1->font()).horizontalAdvance(ui->Label1->Caption()), ui->Label1->width())
        << ui->Label1->x() << " " << ui->Label1->width();
    EXPECT_TRUE(QTest::qWaitFor([&] { return ui->Label1->Caption() == position; }, 3000))
        << ui->Label1->Caption().toStdString();
    EXPECT_EQ(ui->Label1->geometry(), place);
}

TEST_F(SnapToQuiet, ALineDroppedOnTheOverviewLandsInThePause) {
    ui->PM_SnapToQuiet->DoClick();
    const int from = band->XOfTime(static_cast<double>(w->findChild<TSelection*>()->End()));
    const int to = band->XOfTime(3000);
    QTest::mousePress(band, Qt::LeftButton, {}, QPoint(from, TOverviewBand::Middle));
    QMouseEvent move(QEvent::MouseMove, QPointF(to, TOverviewBand::Middle), QPointF(to, TOverviewBand::Middle),
                     Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(band, &move);
    QTest::mouseRelease(band, Qt::LeftButton, {}, QPoint(to, TOverviewBand::Middle));
    // From 3 s the reach holds the pause from 2.0 s on: the middle of that part.
    const int64_t end = w->findChild<TSelection*>()->End();
    EXPECT_GE(end, 2000);
    EXPECT_LE(end, 2600);
    EXPECT_NEAR(static_cast<double>(end), 2270.0, Near);
}

// A typed time snaps once the typing is done, not at every digit.
TEST_F(SnapToQuiet, ATypedTimeSnapsOnEnter) {
    ui->PM_SnapToQuiet->DoClick();
    TypeEnd("0000001700");
    EXPECT_EQ(EndShown(), 1700);
    QTest::keyClick(ui->RzMaskEdit2, Qt::Key_Return);
    EXPECT_NEAR(static_cast<double>(EndShown()), static_cast<double>(PauseMiddle), Near);
    EXPECT_EQ(ui->Label1->Caption(), SnapHintText(1700, EndShown()));
}

// With the exact cut a start may fall on any granule: the snap keeps to the
// granule grid, no longer only to whole frames.
TEST_F(SnapToQuiet, TheExactCutSnapsOnTheGranuleGrid) {
    ui->PM_SnapToQuiet->DoClick();
    ui->PM_ExactCut->DoClick();
    DropEndMarkerAt(1700);
    const int64_t end = w->findChild<TSelection*>()->End();
    EXPECT_NEAR(static_cast<double>(end), static_cast<double>(PauseMiddle), Near);
    const double granuleMs = 576 * 1000.0 / 44100;
    const double granules = static_cast<double>(end) / granuleMs;
    EXPECT_NEAR(granules, std::round(granules), 0.5 / granuleMs + 1e-9);
}

// At 44.1 kHz frame boundaries are no whole milliseconds. A START snapped to
// a boundary whose fraction is half a millisecond or more must still make
// the saved file begin with the frame it snapped to, not the next one; an
// END snapped likewise ends it with the frame before its boundary.
TEST_F(SnapToQuiet, TheSavedFileBeginsAndEndsWithTheFramesSnappedTo) {
    ui->PM_SnapToQuiet->DoClick();
    ASSERT_FALSE(ui->PM_ExactCut->Checked());
    const std::string source = test::Fixture("tone-pause-tone.mp3").toStdString();
    TRoruvoMP3 original(source);
    const TFrameIndex& frames = original.CompleteIndex();
    const double frameMs = 1152 * 1000.0 / 44100;
    // Typed times whose snap lands on a boundary with such a fraction: the
    // reach's edge cuts the pause at different places for different times.
    auto boundaryFrom = [&](int64_t typed) {
        const double at = QuietestPoint(band->Levels(), static_cast<double>(typed), SnapReachMs, 2);
        return std::pair{at - std::floor(at) >= 0.5, std::llround(at / frameMs)};
    };
    int64_t typedStart = 0;
    for (int64_t t = 2600; t < 3400 && typedStart == 0; ++t)
        if (boundaryFrom(t).first && boundaryFrom(t).second > 60)
            typedStart = t;
    ASSERT_NE(typedStart, 0) << "no snap with a fraction of half a millisecond or more";
    const auto startFrame = static_cast<size_t>(boundaryFrom(typedStart).second);
    int64_t typedEnd = 0;
    for (int64_t t = 1000; t < 1700 && typedEnd == 0; ++t)
        if (boundaryFrom(t).first && static_cast<size_t>(boundaryFrom(t).second) < startFrame)
            typedEnd = t;
    ASSERT_NE(typedEnd, 0);
    const auto endFrame = static_cast<size_t>(boundaryFrom(typedEnd).second);

    // Times below a minute, typed from the field's first digit on.
    auto digits = [](int64_t ms) { return QString::asprintf("%010lld", static_cast<long long>(ms)).toStdString(); };
    const std::string startDigits = digits(typedStart);
    const std::string endDigits = digits(typedEnd);
    TypeInto(ui->RzMaskEdit1, startDigits.c_str());
    QTest::keyClick(ui->RzMaskEdit1, Qt::Key_Return);
    auto* selection = w->findChild<TSelection*>();
    ASSERT_NE(selection->Start(), typedStart) << "the start snapped";

    // The rest of the file from the snapped START, then the stream's start
    // up to the snapped END, each saved as the window saves it.
    test::TempDir temp;
    const std::string tail = temp / "tail.mp3";
    test::SaveThroughDialog(*w, seams, QString::fromStdString(tail));
    TRoruvoMP3 saved(tail);
    ASSERT_TRUE(saved.Valid);
    EXPECT_EQ(saved.CompleteIndex().Count(), frames.Count() - startFrame)
        << "START " << selection->Start() << " ms for frame " << startFrame << " at "
        << frames.StartOf(startFrame).Ms() << " ms";

    selection->SetStart(0);
    TypeEnd(endDigits.c_str());
    QTest::keyClick(ui->RzMaskEdit2, Qt::Key_Return);
    const std::string head = temp / "head.mp3";
    test::SaveThroughDialog(*w, seams, QString::fromStdString(head));
    TRoruvoMP3 headSaved(head);
    ASSERT_TRUE(headSaved.Valid);
    EXPECT_EQ(headSaved.CompleteIndex().Count(), endFrame)
        << "END " << selection->End() << " ms for frame " << endFrame << " at " << frames.StartOf(endFrame).Ms()
        << " ms";
}

} // namespace
