#pragma once
// The overview in the header band: the levels of the opened stream, one
// column per pixel mirrored about the middle line, the selected stretch
// brighter, a green line at the selection's start, a red one at its end, a
// white line at the position once one is picked or played, and the shown
// stretch as a small label in the top right corner ("0:12–0:48"), in italics
// and followed by an ellipsis while the levels shown are an estimate that a
// decode is still refining. It is one more view of
// the selection: it draws what the selection says and hands it what the user
// dragged; it keeps no start or end of its own.
//
// Mouse: a click picks the position, dragging a line moves its marker,
// dragging elsewhere pans, the wheel zooms around the pointer and a double
// click shows the whole stream. Keys (when focused): Left/Right one frame,
// Page Up/Down one second, Home/End the stream's ends, [ and ] set the start
// and the end to the position. Removed stretches are drawn struck out; a
// Ctrl+click on one, or Insert with the position in it, puts it back.
#include "engine/decode/SideInfoLevels.h"

#include <QWidget>
#include <cstdint>

class QPainter;

namespace vivizu {

class TSelection;

class TOverviewBand : public QWidget {
    Q_OBJECT

public:
    // Columns start this many pixels from the widget's left edge, room for
    // the line's head at the stream's start.
    static constexpr int Margin = 3;
    static constexpr int Height = 64;
    static constexpr int Middle = 35; // the middle line, from the top

    TOverviewBand(TSelection& selection, QWidget* parent = nullptr);

    // New levels for the stream (frameMs: the play time of one frame, the
    // step of Left/Right). The view stays where it is when only the levels
    // of the same stream are replaced (sameStream).
    void SetLevels(TGranuleLevels levels, double frameMs, bool sameStream = false);
    void ClearLevels();
    const TGranuleLevels& Levels() const { return FLevels; }
    double FrameMs() const { return FFrameMs; }

    // Whether the levels shown are still being refined (a decode runs).
    void SetRefining(bool refining);
    bool Refining() const { return FRefining; }

    // The position bar's time and whether a preview is playing from it.
    void SetPosition(int64_t ms);
    void SetPlaying(bool playing);
    int64_t Position() const { return FPosition; }
    bool Playing() const { return FPlaying; }

    // The shown stretch of the stream, and its label ("0:12–0:48").
    double ViewStart() const { return FViewStart; }
    double ViewSpan() const { return FViewSpan; }
    QString SpanLabel() const;
    void ShowWholeStream();
    // Zooms by factor (> 1: in) keeping the time under column x in place.
    void ZoomAt(int x, double factor);

    // The share of the bar's full height a level (as TGranuleLevels holds it)
    // draws: its dB over DisplayFloorDb, so that a 15 dB quieter passage
    // stands a quarter lower and the last bits' noise of digital silence
    // draws nothing. The estimate and the decoded levels share it.
    static constexpr double DisplayFloorDb = -60.0;
    static double DisplayShare(float level);

    // The column of a time and the time of a column (widget coordinates).
    int XOfTime(double ms) const;
    double TimeOfX(int x) const;
    int Columns() const { return width() - 2 * Margin; }

signals:
    // The user picked a position (click or key); the window moves the
    // position bar there.
    void PositionPicked(qint64 ms);
    // A dragged line was let go where it was moved to (start: the green
    // line); the window may move it on into a pause.
    void LineDropped(bool start);
    // For a second view of the same stream: new levels (newStream: of
    // another stream, or none), and a change of refining or playing.
    void LevelsChanged(bool newStream);
    void LookChanged();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    enum class TDrag { None, Press, Pan, Start, End };

    double LengthMs() const;
    // The level of the column at x: the loudest granule it covers.
    float ColumnLevel(int x) const;
    // span held between one column per granule and the whole stream.
    double SpanWithinLimits(double span) const;
    void SetView(double start, double span);
    void PickPosition(int64_t ms);
    void ShowSpanHint();
    void DrawSpanLabel(QPainter& painter);
    void DrawRemoved(QPainter& painter);

    TSelection& FSelection;
    TGranuleLevels FLevels;
    double FFrameMs = 26.0;
    double FViewStart = 0.0;
    double FViewSpan = 0.0;
    int64_t FPosition = 0;
    bool FPlaying = false;
    bool FPositionShown = false; // a position was picked or moved to
    bool FRefining = false;
    bool FLineMoved = false;
    TDrag FDrag = TDrag::None;
    int FPressX = 0;
    double FPressViewStart = 0.0;
};

} // namespace vivizu
