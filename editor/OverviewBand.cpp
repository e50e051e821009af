#include "editor/OverviewBand.h"

#include "editor/Selection.h"
#include "editor/TimeText.h"

#include <QFont>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <cmath>

namespace vivizu {
namespace {

// The header band's colours (the skin's art): its gradient over the band's
// 105 pixels, the bars in white, the lines' light green and red.
const QColor HeadLight(0x48, 0xAE, 0xE0);
const QColor HeadMid(0x32, 0x98, 0xCC);
const QColor HeadDark(0x26, 0x81, 0xB3);
const QColor LineGreen(0x4B, 0xD1, 0x7F);
const QColor LineRed(0xEF, 0x6A, 0x5F);
constexpr int HeaderHeight = 105;
constexpr int BarHalf = 22;  // the loudest bar reaches this far from the middle
constexpr int LineHalf = 27; // the lines' half height
constexpr int HeadHalf = 5;  // the lines' heads reach this far to either side
constexpr int GrabPixels = 3;
constexpr double WheelStep = 2.0; // a notch halves or doubles the span
constexpr int LabelPixels = 9;   // the span label's text height
const QColor RemovedShade(0x10, 0x30, 0x48, 0x90);
const QColor RemovedStrike(0xEF, 0x6A, 0x5F, 0xE0);

// The start of the frame `steps` frames from the one that holds ms (its
// start when ms lies inside it and steps is -1), in whole milliseconds.
// Frame k starts at k * frameMs: stepping from rounded starts lands on
// the next frame's own start instead of adding up a rounded length.
int64_t FrameStartFrom(int64_t ms, double frameMs, int steps)
{
    const auto startOf = [frameMs](int64_t k) { return std::llround(static_cast<double>(k) * frameMs); };
    int64_t k = static_cast<int64_t>(std::floor((static_cast<double>(ms) + 0.5) / frameMs));
    while (startOf(k + 1) <= ms)
        ++k;
    while (k > 0 && startOf(k) > ms)
        --k;
    if (steps < 0 && startOf(k) < ms)
        ++steps;
    return startOf(std::max<int64_t>(0, k + steps));
}

} // namespace

TOverviewBand::TOverviewBand(TSelection& selection, QWidget* parent) : QWidget(parent), FSelection(selection)
{
    setObjectName(QStringLiteral("OverviewBand"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(false);
    setVisible(false);
    auto repaint = [this] { update(); };
    connect(&FSelection, &TSelection::StartChanged, this, repaint);
    connect(&FSelection, &TSelection::EndChanged, this, repaint);
    connect(&FSelection, &TSelection::RemovedChanged, this, repaint);
    connect(&FSelection, &TSelection::StreamChanged, this, [this](qint64 length) {
        if (length <= 0)
            ClearLevels();
        else
            ShowWholeStream();
    });
}

void TOverviewBand::SetLevels(TGranuleLevels levels, double frameMs, bool sameStream)
{
    FLevels = std::move(levels);
    FFrameMs = frameMs > 0 ? frameMs : FFrameMs;
    if (!sameStream) {
        FPositionShown = false;
        ShowWholeStream();
    }
    setVisible(!FLevels.Empty());
    update();
    emit LevelsChanged(!sameStream);
}

void TOverviewBand::ClearLevels()
{
    FLevels = {};
    FPlaying = false;
    FPositionShown = false;
    FRefining = false;
    FPosition = 0;
    FDrag = TDrag::None;
    setVisible(false);
    emit LevelsChanged(true);
}

void TOverviewBand::SetRefining(bool refining)
{
    if (refining == FRefining)
        return;
    FRefining = refining;
    update();
    emit LookChanged();
}

void TOverviewBand::SetPosition(int64_t ms)
{
    if (ms == FPosition)
        return;
    FPosition = ms;
    FPositionShown = true;
    update();
}

void TOverviewBand::SetPlaying(bool playing)
{
    FPlaying = playing;
    update();
    emit LookChanged();
}

double TOverviewBand::LengthMs() const
{
    const auto length = static_cast<double>(FSelection.LengthMs());
    return length > 0 ? length : FLevels.DurationMs();
}

void TOverviewBand::ShowWholeStream() { SetView(0.0, LengthMs()); }

double TOverviewBand::SpanWithinLimits(double span) const
{
    const double length = LengthMs();
    // Down to one column per granule, up to the whole stream.
    const double least = std::min(length, std::max(1.0, FLevels.MsPerGranule * std::max(1, Columns())));
    return std::clamp(span, least, std::max(least, length));
}

void TOverviewBand::SetView(double start, double span)
{
    FViewSpan = SpanWithinLimits(span);
    FViewStart = std::clamp(start, 0.0, std::max(0.0, LengthMs() - FViewSpan));
    ShowSpanHint();
    update();
}

QString TOverviewBand::SpanLabel() const
{
    return SpanText(std::llround(FViewStart), std::llround(FViewStart + FViewSpan));
}

void TOverviewBand::ShowSpanHint() { setToolTip(SpanLabel()); }

void TOverviewBand::DrawSpanLabel(QPainter& painter)
{
    QFont small = font();
    small.setPixelSize(LabelPixels);
    small.setItalic(FRefining);
    painter.setFont(small);
    QColor ink(Qt::white);
    ink.setAlphaF(FRefining ? 0.6f : 0.85f);
    painter.setPen(ink);
    // Above the loudest bar (the bars start BarHalf pixels over the middle),
    // clear of the head of an end line at the stream's end.
    const QRect corner(Margin, 1, Columns() - HeadHalf - 2, Middle - BarHalf - 1);
    const QString text = FRefining ? SpanLabel() + QStringLiteral(" \u2026") : SpanLabel();
    painter.drawText(corner, Qt::AlignRight | Qt::AlignTop, text);
}

// Each removed stretch struck out: its columns shaded and a line through
// them along the middle, so that what a save leaves out shows at a glance.
void TOverviewBand::DrawRemoved(QPainter& painter)
{
    for (const TRemoved& removed : FSelection.Removed()) {
        const int from = std::max(Margin, XOfTime(static_cast<double>(removed.FromMs)));
        const int to = std::min(Margin + Columns(), XOfTime(static_cast<double>(removed.ToMs)) + 1);
        if (to <= from)
            continue;
        painter.fillRect(from, Middle - LineHalf, to - from, 2 * LineHalf, RemovedShade);
        painter.fillRect(from, Middle - 1, to - from, 2, RemovedStrike);
    }
}

void TOverviewBand::ZoomAt(int x, double factor)
{
    if (factor <= 0)
        return;
    const double anchor = TimeOfX(x);
    // The span as it will be shown: a step beyond the closest or the widest
    // view must not move the view, so the anchor's share is kept of the span
    // the limits allow, not of the one asked for.
    const double span = SpanWithinLimits(FViewSpan / factor);
    const double share = FViewSpan > 0 ? (anchor - FViewStart) / FViewSpan : 0.0;
    SetView(anchor - share * span, span);
}

int TOverviewBand::XOfTime(double ms) const
{
    if (FViewSpan <= 0)
        return Margin;
    return Margin + static_cast<int>(std::floor((ms - FViewStart) / FViewSpan * Columns()));
}

double TOverviewBand::TimeOfX(int x) const
{
    const int columns = std::max(1, Columns());
    const double at = std::clamp(x - Margin, 0, columns) / static_cast<double>(columns);
    return FViewStart + at * FViewSpan;
}

double TOverviewBand::DisplayShare(float level)
{
    // Levels run linearly in dB from LevelFloorDb (0) to full scale (1).
    const double db = LevelFloorDb * (1.0 - static_cast<double>(level));
    return std::clamp((db - DisplayFloorDb) / -DisplayFloorDb, 0.0, 1.0);
}

float TOverviewBand::ColumnLevel(int x) const
{
    if (FLevels.Empty() || FLevels.MsPerGranule <= 0)
        return 0.0f;
    const double from = FViewStart + (x - Margin) * FViewSpan / Columns();
    const double to = from + FViewSpan / Columns();
    const auto count = FLevels.Levels.size();
    const auto first = static_cast<size_t>(std::max(0.0, from / FLevels.MsPerGranule));
    auto last = static_cast<size_t>(std::max(0.0, std::ceil(to / FLevels.MsPerGranule)));
    last = std::min(count, std::max(last, first + 1));
    if (first >= last)
        return 0.0f;
    return *std::max_element(FLevels.Levels.begin() + static_cast<ptrdiff_t>(first),
                             FLevels.Levels.begin() + static_cast<ptrdiff_t>(last));
}

void TOverviewBand::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // The header band's gradient, as the skin draws it under the widget.
    QLinearGradient head(0, -y(), 0, HeaderHeight - y());
    head.setColorAt(0.0, HeadLight);
    head.setColorAt(0.55, HeadMid);
    head.setColorAt(1.0, HeadDark);
    painter.fillRect(rect(), head);

    const int selFrom = XOfTime(static_cast<double>(FSelection.Start()));
    const int selTo = XOfTime(static_cast<double>(FSelection.End()));
    for (int x = Margin; x < Margin + Columns(); ++x) {
        const int half = static_cast<int>(std::lround(DisplayShare(ColumnLevel(x)) * BarHalf));
        if (half <= 0)
            continue;
        QColor bar(Qt::white);
        bar.setAlphaF(x >= selFrom && x <= selTo ? 0.78f : 0.28f);
        painter.fillRect(x, Middle - half, 1, 2 * half, bar);
    }
    DrawRemoved(painter);
    DrawSpanLabel(painter);
    auto line = [&](int x, const QColor& colour, bool withHead) {
        if (x < 0 || x > width())
            return;
        painter.fillRect(x - 1, Middle - LineHalf, 2, 2 * LineHalf, colour);
        if (!withHead)
            return;
        const QPointF tip[] = {{x - double{HeadHalf}, Middle - LineHalf - 6.0},
                               {x + double{HeadHalf}, Middle - LineHalf - 6.0},
                               {x + 0.0, Middle - LineHalf}};
        painter.setPen(Qt::NoPen);
        painter.setBrush(colour);
        painter.drawPolygon(tip, 3);
    };
    // The position under the markers, except while a preview plays from it.
    const int positionX = XOfTime(static_cast<double>(FPosition));
    if (FPositionShown && !FPlaying)
        line(positionX, Qt::white, false);
    line(selFrom, LineGreen, true);
    line(selTo, LineRed, true);
    if (FPlaying)
        line(positionX, Qt::white, false);
    if (hasFocus()) {
        // The keyboard's focus: a dotted white frame inside the band's edge.
        painter.setPen(QPen(Qt::white, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void TOverviewBand::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int x = event->position().toPoint().x();
    // Ctrl+click on a removed stretch puts it back.
    if (event->modifiers() & Qt::ControlModifier) {
        if (const auto index = StretchAt(FSelection.Removed(), std::llround(TimeOfX(x)))) {
            FSelection.PutBack(*index);
            FDrag = TDrag::None;
            return;
        }
    }
    FPressX = x;
    FPressViewStart = FViewStart;
    const int startX = XOfTime(static_cast<double>(FSelection.Start()));
    const int endX = XOfTime(static_cast<double>(FSelection.End()));
    // The nearer line wins where both are within reach.
    const int toStart = std::abs(x - startX);
    const int toEnd = std::abs(x - endX);
    if (std::min(toStart, toEnd) <= GrabPixels)
        FDrag = toEnd < toStart || (toEnd == toStart && x > endX) ? TDrag::End : TDrag::Start;
    else
        FDrag = TDrag::Press;
    FLineMoved = false;
}

void TOverviewBand::mouseMoveEvent(QMouseEvent* event)
{
    const int x = event->position().toPoint().x();
    const auto time = std::llround(TimeOfX(x));
    switch (FDrag) {
    case TDrag::Start:
        FSelection.SetStart(time);
        FLineMoved = true;
        break;
    case TDrag::End:
        FSelection.SetEnd(time);
        FLineMoved = true;
        break;
    case TDrag::Press:
        if (std::abs(x - FPressX) <= GrabPixels)
            break;
        FDrag = TDrag::Pan;
        [[fallthrough]];
    case TDrag::Pan:
        SetView(FPressViewStart - (x - FPressX) * FViewSpan / std::max(1, Columns()), FViewSpan);
        break;
    case TDrag::None: break;
    }
}

void TOverviewBand::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (FDrag == TDrag::Press)
        PickPosition(std::llround(TimeOfX(event->position().toPoint().x())));
    const TDrag released = FDrag;
    FDrag = TDrag::None;
    if (FLineMoved && (released == TDrag::Start || released == TDrag::End))
        emit LineDropped(released == TDrag::Start);
}

void TOverviewBand::mouseDoubleClickEvent(QMouseEvent*) { ShowWholeStream(); }

void TOverviewBand::wheelEvent(QWheelEvent* event)
{
    const int steps = event->angleDelta().y() / 120;
    if (steps != 0)
        ZoomAt(event->position().toPoint().x(), std::pow(WheelStep, steps));
    event->accept();
}

void TOverviewBand::PickPosition(int64_t ms)
{
    FPosition = std::clamp<int64_t>(ms, 0, FSelection.LengthMs());
    FPositionShown = true;
    emit PositionPicked(FPosition);
    update();
}

void TOverviewBand::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left: PickPosition(FrameStartFrom(FPosition, FFrameMs, -1)); break;
    case Qt::Key_Right: PickPosition(FrameStartFrom(FPosition, FFrameMs, 1)); break;
    case Qt::Key_PageUp: PickPosition(FPosition - 1000); break;
    case Qt::Key_PageDown: PickPosition(FPosition + 1000); break;
    case Qt::Key_Home: PickPosition(0); break;
    case Qt::Key_End: PickPosition(FSelection.LengthMs()); break;
    case Qt::Key_BracketLeft: FSelection.SetStart(FPosition); break;
    case Qt::Key_BracketRight: FSelection.SetEnd(FPosition); break;
    case Qt::Key_Insert:
        if (const auto index = StretchAt(FSelection.Removed(), FPosition))
            FSelection.PutBack(*index);
        break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

} // namespace vivizu
