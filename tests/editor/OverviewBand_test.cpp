// The overview band: on its own as a view of a selection (its lines follow
// every change, a drag of a line moves the marker, clicks and keys pick the
// position, the wheel zooms around the pointer), and in the window (shown
// for a valid file, gone for an invalid one, a click moves the position bar).
#include "EditorTestSupport.h"
#include "editor/OverviewBand.h"
#include "editor/OverviewJob.h"
#include "engine/RoruvoMp3.h"
#include "editor/Selection.h"
#include "editor/TimeText.h"
#include "engine/decode/LevelMeter.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace vivizu;

namespace {

constexpr int Mid = TOverviewBand::Middle;

// A 10 s stream: silent first half, full level second half.
TGranuleLevels HalfLoud()
{
    TGranuleLevels levels;
    levels.MsPerGranule = 10.0;
    levels.Levels.assign(1000, 0.0f);
    levels.Levels.Fill(500, 1000, 1.0f);
    return levels;
}

class OverviewBandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        band = std::make_unique<TOverviewBand>(selection);
        band->resize(203, TOverviewBand::Height);
        selection.SetStream(10000);
        band->SetLevels(HalfLoud(), 26.0);
    }

    bool IsColour(const QImage& image, int x, int redMin, int greenMin) const
    {
        const QColor c = image.pixelColor(x, Mid);
        return c.red() >= redMin && c.green() >= greenMin && std::abs(c.red() - c.green()) > 40;
    }

    TSelection selection;
    std::unique_ptr<TOverviewBand> band;
};

TEST_F(OverviewBandTest, LinesFollowTheSelection)
{
    EXPECT_TRUE(band->isVisible() || !band->isHidden());
    selection.SetStart(2500);
    selection.SetEnd(7500);
    QImage image = band->grab().toImage();
    const int startX = band->XOfTime(2500);
    const int endX = band->XOfTime(7500);
    EXPECT_GT(image.pixelColor(startX, Mid).green(), image.pixelColor(startX, Mid).red() + 40);
    EXPECT_GT(image.pixelColor(endX, Mid).red(), image.pixelColor(endX, Mid).green() + 40);

    selection.SetStart(5000);
    image = band->grab().toImage();
    EXPECT_GT(image.pixelColor(band->XOfTime(5000), Mid).green(),
              image.pixelColor(band->XOfTime(5000), Mid).red() + 40);
    // The old start's column is a bar again, not the green line.
    const QColor old = image.pixelColor(startX, Mid);
    EXPECT_LT(std::abs(old.green() - old.red()), 120);
    EXPECT_NE(old, image.pixelColor(band->XOfTime(5000), Mid));
}

// Bars where the stream is loud, none where it is silent;
// the selected stretch brighter than the rest.
TEST_F(OverviewBandTest, BarsWhereLoudAndBrighterWhenSelected)
{
    selection.SetStart(6000);
    selection.SetEnd(9000);
    const QImage image = band->grab().toImage();
    const int silent = band->XOfTime(2000);
    const int loudOut = band->XOfTime(5500);
    const int loudIn = band->XOfTime(7000);
    EXPECT_EQ(image.pixelColor(silent, Mid - 10), image.pixelColor(silent - 2, Mid - 10)) << "no bar";
    EXPECT_GT(image.pixelColor(loudOut, Mid - 10).lightness(), image.pixelColor(silent, Mid - 10).lightness());
    EXPECT_GT(image.pixelColor(loudIn, Mid - 10).lightness(), image.pixelColor(loudOut, Mid - 10).lightness());
    EXPECT_GT(image.pixelColor(loudIn, Mid + 10).lightness(), image.pixelColor(silent, Mid + 10).lightness() + 20)
        << "mirrored below the middle line";
}

// The bar's height in pixels above the middle line at column x: rows, up to
// the lines' heads, that differ from the band's leftmost column (no bar).
int BarHeight(const QImage& image, int x)
{
    int rows = 0;
    for (int y = Mid - 1; y > Mid - 26; --y)
        rows += image.pixelColor(x, y) != image.pixelColor(0, y) ? 1 : 0;
    return rows;
}

// Heights read in dB over a floor near -60 dBFS: the last bit's noise of
// digital silence draws nothing, a passage 15 dB down stands about three
// quarters as tall as full scale; estimated and decoded levels of the same
// dB draw the same height.
TEST_F(OverviewBandTest, BarsShowDecibelsOverAFloorNearMinusSixty)
{
    const float lsb = DbToUnitLevel(LevelToDb(1.0 / 32768.0));
    const float quieter = DbToUnitLevel(-15.0);
    EXPECT_EQ(TOverviewBand::DisplayShare(lsb), 0.0);
    EXPECT_EQ(TOverviewBand::DisplayShare(0.0f), 0.0);
    EXPECT_EQ(TOverviewBand::DisplayShare(DbToUnitLevel(-60.5)), 0.0);
    EXPECT_NEAR(TOverviewBand::DisplayShare(quieter), 0.75, 0.01);
    EXPECT_NEAR(TOverviewBand::DisplayShare(DbToUnitLevel(-30.0)), 0.5, 0.01);
    EXPECT_EQ(TOverviewBand::DisplayShare(1.0f), 1.0);

    // An estimate from the side information and a decoded peak at its dB.
    TGranuleSideInfo granule;
    granule.GlobalGain = 170;
    granule.Part23Length = 800;
    granule.LargestTable = 13;
    const double db = SideInfoGranuleDb(granule, true, false);
    ASSERT_GT(db, -60.0);
    ASSERT_LT(db, 0.0);
    const float estimated = DbToUnitLevel(db);
    const float decoded = DbToUnitLevel(LevelToDb(std::pow(10.0, db / 20.0)));
    EXPECT_NEAR(TOverviewBand::DisplayShare(estimated), TOverviewBand::DisplayShare(decoded), 1e-4);

    // Drawn: 0-2.5 s the last bit's noise, 2.5-5 s at -15 dB, then full scale.
    TGranuleLevels levels;
    levels.MsPerGranule = 10.0;
    levels.Levels.assign(1000, 1.0f);
    levels.Levels.Fill(0, 250, lsb);
    levels.Levels.Fill(250, 500, quieter);
    band->SetLevels(levels, 26.0);
    selection.SetStart(0);
    selection.SetEnd(10000);
    const QImage image = band->grab().toImage();
    const int quiet = BarHeight(image, band->XOfTime(3700));
    const int full = BarHeight(image, band->XOfTime(7500));
    EXPECT_EQ(BarHeight(image, band->XOfTime(1200)), 0) << "silence draws nothing";
    EXPECT_EQ(image.pixelColor(band->XOfTime(1200), Mid), image.pixelColor(0, Mid));
    EXPECT_GE(full, 20);
    EXPECT_NEAR(static_cast<double>(quiet) / full, 0.75, 0.08);
}

TEST_F(OverviewBandTest, ClickPicksThePositionAndKeysMoveIt)
{
    QSignalSpy picked(band.get(), &TOverviewBand::PositionPicked);
    const int x = band->XOfTime(4000) + 1;
    QTest::mouseClick(band.get(), Qt::LeftButton, {}, QPoint(x, Mid));
    ASSERT_EQ(picked.count(), 1);
    const qint64 at = picked.at(0).at(0).toLongLong();
    EXPECT_NEAR(static_cast<double>(at), band->TimeOfX(x), 1.0);
    EXPECT_NEAR(static_cast<double>(at), 4000.0, 2 * 10000.0 / band->Columns());

    // An arrow moves to the next frame's start (frames of 26 ms here).
    const qint64 next = (at / 26 + 1) * 26;
    QTest::keyClick(band.get(), Qt::Key_Right);
    EXPECT_EQ(band->Position(), next);
    QTest::keyClick(band.get(), Qt::Key_PageUp);
    EXPECT_EQ(band->Position(), next - 1000);
    QTest::keyClick(band.get(), Qt::Key_BracketLeft);
    EXPECT_EQ(selection.Start(), next - 1000);
    QTest::keyClick(band.get(), Qt::Key_End);
    EXPECT_EQ(band->Position(), 10000);
    QTest::keyClick(band.get(), Qt::Key_BracketRight);
    EXPECT_EQ(selection.End(), 10000);
    QTest::keyClick(band.get(), Qt::Key_Home);
    EXPECT_EQ(band->Position(), 0);
    QTest::keyClick(band.get(), Qt::Key_Left);
    EXPECT_EQ(band->Position(), 0) << "held at the stream's start";
}

// Frames of 1152 samples at 44.1 kHz last 26.12 ms: the arrows step from
// frame start to frame start, so that a hundred steps reach the hundredth
// frame rather than a hundred rounded lengths; from inside a frame the left
// arrow goes back to its start.
TEST_F(OverviewBandTest, ArrowsStepFromFrameStartToFrameStart)
{
    const double frameMs = 1152 * 1000.0 / 44100;
    band->SetLevels(band->Levels(), frameMs, true);
    QTest::keyClick(band.get(), Qt::Key_Home);
    for (int i = 0; i < 100; ++i)
        QTest::keyClick(band.get(), Qt::Key_Right);
    EXPECT_EQ(band->Position(), std::llround(100 * frameMs)); // 2612, not 2600
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(band.get(), Qt::Key_Left);
    EXPECT_EQ(band->Position(), std::llround(97 * frameMs));

    band->SetPosition(2620); // inside frame 100, which starts at 2612
    QTest::keyClick(band.get(), Qt::Key_Left);
    EXPECT_EQ(band->Position(), 2612);
    band->SetPosition(2620);
    QTest::keyClick(band.get(), Qt::Key_Right);
    EXPECT_EQ(band->Position(), 2638);
}

// A click leaves a white line at the picked position, without a preview;
// a moved position bar moves it.
TEST_F(OverviewBandTest, AClickLeavesAPositionLine)
{
    const auto isWhite = [](const QColor& c) { return c.red() > 235 && c.green() > 235 && c.blue() > 235; };
    const int x = band->XOfTime(3000) + 1;
    EXPECT_FALSE(isWhite(band->grab().toImage().pixelColor(x, Mid - 24))) << "no line before a pick";
    QTest::mouseClick(band.get(), Qt::LeftButton, {}, QPoint(x, Mid));
    const int at = band->XOfTime(static_cast<double>(band->Position()));
    QImage image = band->grab().toImage();
    EXPECT_TRUE(isWhite(image.pixelColor(at, Mid - 24))) << "above the bars, in the silent half";
    EXPECT_TRUE(isWhite(image.pixelColor(at, Mid + 24)));

    band->SetPosition(6000);
    image = band->grab().toImage();
    EXPECT_FALSE(isWhite(image.pixelColor(at, Mid - 24)));
    EXPECT_TRUE(isWhite(image.pixelColor(band->XOfTime(6000), Mid - 24)));
}

// The shown stretch is written in the band's top right corner and in its
// tooltip; one wheel notch halves the span around the pointer.
TEST_F(OverviewBandTest, SpanLabelInTheCornerAndAWheelNotchHalvesTheSpan)
{
    EXPECT_EQ(band->SpanLabel(), SpanText(0, 10000));
    EXPECT_EQ(band->toolTip(), band->SpanLabel());
    const QImage image = band->grab().toImage();
    int inked = 0;
    for (int y = 0; y < Mid - 22; ++y)
        for (int x = band->width() - 60; x < band->width() - TOverviewBand::Margin; ++x)
            inked += image.pixelColor(x, y).lightness() > image.pixelColor(0, y).lightness() + 40 ? 1 : 0;
    EXPECT_GT(inked, 20) << "the label is drawn";

    const int x = band->XOfTime(8000);
    QWheelEvent notch(QPointF(x, Mid), band->mapToGlobal(QPointF(x, Mid)), {}, {0, 120}, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(band.get(), &notch);
    EXPECT_NEAR(band->ViewSpan(), 5000.0, 1.0);
    EXPECT_NEAR(band->TimeOfX(x), 8000.0, 10000.0 / band->Columns());
    EXPECT_EQ(band->toolTip(), SpanText(std::llround(band->ViewStart()),
                                        std::llround(band->ViewStart() + band->ViewSpan())));
}

// While the levels are being refined the span label says so (italics and an
// ellipsis): the corner is drawn differently, and back when it is done.
TEST_F(OverviewBandTest, TheLabelShowsWhileLevelsAreRefined)
{
    const auto corner = [this] {
        return band->grab().toImage().copy(band->width() - 80, 0, 80 - TOverviewBand::Margin, Mid - 22);
    };
    const QImage final = corner();
    band->SetRefining(true);
    EXPECT_TRUE(band->Refining());
    EXPECT_NE(corner(), final);
    band->SetRefining(false);
    EXPECT_EQ(corner(), final);
    band->SetRefining(true);
    selection.SetStream(0);
    EXPECT_FALSE(band->Refining()) << "no stream, nothing refined";
}

TEST_F(OverviewBandTest, DraggingALineMovesItsMarkerOnly)
{
    selection.SetStart(2000);
    selection.SetEnd(8000);
    QSignalSpy picked(band.get(), &TOverviewBand::PositionPicked);
    const int endX = band->XOfTime(8000);
    QTest::mousePress(band.get(), Qt::LeftButton, {}, QPoint(endX, Mid));
    QMouseEvent move(QEvent::MouseMove, QPointF(endX - 40, Mid), QPointF(endX - 40, Mid), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(band.get(), &move);
    QTest::mouseRelease(band.get(), Qt::LeftButton, {}, QPoint(endX - 40, Mid));
    EXPECT_NEAR(static_cast<double>(selection.End()), band->TimeOfX(endX - 40), 1.0);
    EXPECT_EQ(selection.Start(), 2000);
    EXPECT_EQ(picked.count(), 0) << "a drag is no click";
    EXPECT_DOUBLE_EQ(band->ViewStart(), 0.0) << "a line drag does not pan";
}

// A line let go after a move is reported dropped (for the window's snap to
// quiet); a press and release on a line without a move is not.
TEST_F(OverviewBandTest, ALineLetGoAfterAMoveIsReportedDropped)
{
    QSignalSpy dropped(band.get(), &TOverviewBand::LineDropped);
    const int endX = band->XOfTime(10000);
    QTest::mousePress(band.get(), Qt::LeftButton, {}, QPoint(endX, Mid));
    QTest::mouseRelease(band.get(), Qt::LeftButton, {}, QPoint(endX, Mid));
    EXPECT_EQ(dropped.count(), 0);

    const int dropX = band->XOfTime(5400);
    QTest::mousePress(band.get(), Qt::LeftButton, {}, QPoint(endX, Mid));
    QMouseEvent move(QEvent::MouseMove, QPointF(dropX, Mid), QPointF(dropX, Mid), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(band.get(), &move);
    QTest::mouseRelease(band.get(), Qt::LeftButton, {}, QPoint(dropX, Mid));
    ASSERT_EQ(dropped.count(), 1);
    EXPECT_FALSE(dropped.at(0).at(0).toBool()) << "the end line";
    EXPECT_NEAR(static_cast<double>(selection.End()), band->TimeOfX(dropX), 1.0) << "the band itself does not snap";
}

TEST_F(OverviewBandTest, WheelZoomsAroundThePointerAndDoubleClickShowsAll)
{
    const int x = band->XOfTime(7000);
    const double before = band->TimeOfX(x);
    band->ZoomAt(x, 4.0);
    EXPECT_NEAR(band->ViewSpan(), 2500.0, 1.0);
    EXPECT_NEAR(band->TimeOfX(x), before, 1.0);
    band->ZoomAt(x, 1000.0); // no closer than one column per granule
    EXPECT_NEAR(band->ViewSpan(), 10.0 * band->Columns(), 1.0);
    EXPECT_FALSE(band->toolTip().isEmpty());
    QTest::mouseDClick(band.get(), Qt::LeftButton, {}, QPoint(x, Mid));
    EXPECT_DOUBLE_EQ(band->ViewStart(), 0.0);
    EXPECT_DOUBLE_EQ(band->ViewSpan(), 10000.0);
    band->ZoomAt(x, 0.1); // no farther than the whole stream
    EXPECT_DOUBLE_EQ(band->ViewSpan(), 10000.0);
}

// Wheel steps beyond the closest view (and back out beyond the widest) keep
// the time under the pointer where it was, within one column's time: the
// pointer in the silent half must not see the view walk to the stream's end.
TEST_F(OverviewBandTest, ManyWheelStepsKeepTheTimeUnderThePointer)
{
    const int x = band->XOfTime(3000);
    const double anchor = band->TimeOfX(x);
    auto wheel = [&](int delta) {
        const QPointF at(x, Mid);
        QWheelEvent event(at, band->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(band.get(), &event);
    };
    for (int step = 0; step < 80; ++step) {
        wheel(step < 40 ? 120 : -120);
        const double column = band->ViewSpan() / band->Columns();
        ASSERT_NEAR(band->TimeOfX(x), anchor, column) << "after step " << step + 1 << ", view from "
                                                       << band->ViewStart() << " over " << band->ViewSpan();
        if (step == 39) {
            EXPECT_NEAR(band->ViewSpan(), 10.0 * band->Columns(), 1.0) << "zoomed in as far as it goes";
        }
    }
    EXPECT_DOUBLE_EQ(band->ViewSpan(), 10000.0);
    EXPECT_DOUBLE_EQ(band->ViewStart(), 0.0);
}

TEST_F(OverviewBandTest, NoStreamNoBand)
{
    selection.SetStream(0);
    EXPECT_TRUE(band->isHidden());
    EXPECT_TRUE(band->Levels().Empty());
}

// In the window: a valid file shows the band with its estimate, a click in
// it moves the position bar; an invalid file hides it again.
TEST(OverviewInWindow, ShownForAValidFileAndAClickMovesThePosition)
{
    test::TDialogSeams seams;
    TFrmMP3Editor w;
    test::TEditorControls ui(w);
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    auto* band = w.findChild<TOverviewBand*>(QStringLiteral("OverviewBand"));
    ASSERT_NE(band, nullptr);
    EXPECT_TRUE(band->isHidden());

    test::OpenThroughDialog(w, seams, test::Fixture("stereo-notag.mp3"));
    ASSERT_TRUE(ui.BtnSaveMp3->isEnabled());
    // The estimate comes with the file's analysis: shown at once.
    EXPECT_FALSE(band->isHidden());
    EXPECT_FALSE(band->Levels().Empty());
    EXPECT_EQ(band->geometry().left() + TOverviewBand::Margin, 252);
    EXPECT_EQ(band->geometry().top() + TOverviewBand::Middle, 62);

    const int x = band->width() / 2;
    QTest::mouseClick(band, Qt::LeftButton, {}, QPoint(x, TOverviewBand::Middle));
    EXPECT_NEAR(ui.TrackBarPos->Position(), band->TimeOfX(x), 1.0);
    EXPECT_GT(ui.TrackBarPos->Position(), 0);

    QTemporaryDir dir;
    const QString junk = dir.filePath(QStringLiteral("junk.mp3"));
    QFile file(junk);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();
    test::OpenThroughDialog(w, seams, junk);
    EXPECT_TRUE(band->isHidden());
}

// The background job hands over one decoded level per granule, on the
// estimate's grid and close to it in number; a cancelled job hands over
// nothing, and neither does one whose file is gone.
TEST(OverviewJob, DecodedLevelsOnTheEstimatesGridAndNothingWhenCancelled)
{
    const std::string file = test::Fixture("stereo-notag.mp3").toStdString();
    TRoruvoMP3 mp3;
    mp3.EstimateLevels = true;
    mp3.LoadFile(file);
    ASSERT_TRUE(mp3.Valid);
    const TFrameIndex& index = mp3.Index();
    const TMpegHeader first = index.HeaderOf(0);
    const TGranuleLevels& estimate = mp3.LevelEstimate();

    TOverviewJob job;
    QSignalSpy finished(&job, &TOverviewJob::Finished);
    job.Start(file, index, first.SampleRate(), first.SamplesPerFrame() / first.Granules());
    ASSERT_TRUE(finished.wait(20000));
    const auto decoded = finished.at(0).at(0).value<TGranuleLevels>();
    EXPECT_NEAR(decoded.MsPerGranule, estimate.MsPerGranule, 1e-9);
    EXPECT_NEAR(static_cast<double>(decoded.Levels.size()), static_cast<double>(estimate.Levels.size()), 2.0);
    EXPECT_FALSE(job.Running());

    job.Start(file, index, first.SampleRate(), first.SamplesPerFrame() / first.Granules());
    job.Cancel();
    QTest::qWait(300);
    EXPECT_EQ(finished.count(), 1);

    QSignalSpy failed(&job, &TOverviewJob::Failed);
    job.Start("/nonexistent/song.mp3", index, first.SampleRate(), first.SamplesPerFrame() / first.Granules());
    EXPECT_TRUE(QTest::qWaitFor([&job] { return !job.Running(); }, 10000));
    QTest::qWait(50);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(failed.count(), 1) << "a failed decode is reported, so the band stops saying it refines";
}

} // namespace
