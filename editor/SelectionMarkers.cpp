#include "editor/SelectionMarkers.h"

#include "editor/Selection.h"
#include "platform/ProgramFolder.h"
#include "widgets/Image.h"
#include "widgets/TrackBar.h"

#include <QFile>
#include <QImage>
#include <QPixmap>

namespace vivizu {

namespace {

QString ProgramFile(const char* name) {
    return QFile::decodeName(QByteArray::fromStdString(ProgramFolder())) +
           QString::fromLatin1(name);
}

// A marker's picture: the designed 16 x 16 bitmap, whose absence throws;
// on a screen scaled 1.5x or more its double drawn at 32 x 32 when it lies
// beside it ("MarkStart@2x.bmp"), so that the pin stays sharp.
void LoadMarker(TImage& image, const char* name) {
    const QString plain = ProgramFile(name) + QStringLiteral(".bmp");
    image.LoadFromFile(plain);
    if (image.devicePixelRatioF() < 1.5)
        return;
    const QImage sharp(ProgramFile(name) + QStringLiteral("@2x.bmp"));
    const QImage designed(plain);
    if (sharp.isNull() || sharp.size() != designed.size() * 2)
        return;
    QPixmap picture = QPixmap::fromImage(sharp);
    picture.setDevicePixelRatio(2.0);
    image.SetPicture(picture);
}

} // namespace

TSelectionMarkers::TSelectionMarkers(TSelection& selection, TImage* start, TImage* end,
                                     const TTrackBar* ruler, QWidget* container)
    : QObject(container), FSelection(selection), FStartImage(start), FEndImage(end),
      FRuler(ruler), FContainer(container) {
    for (const TMarkerWhich which : {TMarkerWhich::Start, TMarkerWhich::End}) {
        TImage* image = Image(which);
        connect(image, &TImage::MouseDown, this,
                [this, which](Qt::MouseButton button, Qt::KeyboardModifiers, int x, int y) {
                    Press(which, button, x, y);
                });
        connect(image, &TImage::MouseMove, this,
                [this, which](Qt::KeyboardModifiers, int x, int y) { Move(which, x, y); });
        connect(image, &TImage::MouseUp, this,
                [this, which](Qt::MouseButton, Qt::KeyboardModifiers, int x, int y) {
                    Release(which, x, y);
                });
    }
    connect(&FSelection, &TSelection::StartChanged, this,
            [this](qint64 t) { Follow(TMarkerWhich::Start, t); });
    connect(&FSelection, &TSelection::EndChanged, this,
            [this](qint64 t) { Follow(TMarkerWhich::End, t); });
}

TImage* TSelectionMarkers::Image(TMarkerWhich which) const {
    return which == TMarkerWhich::Start ? FStartImage : FEndImage;
}

TMarkerDrag& TSelectionMarkers::Record(TMarkerWhich which) {
    return which == TMarkerWhich::Start ? FStart : FEnd;
}

bool TSelectionMarkers::Enabled(TMarkerWhich which) const {
    const TImage* image = Image(which);
    return image->isEnabledTo(image->parentWidget());
}

void TSelectionMarkers::Reset(bool enabled) {
    const int barLeft = FRuler->Left();
    const int barWidth = FRuler->Width();
    FStart = StartMarkerAtReset(barLeft, barWidth, FContainer);
    FEnd = EndMarkerAtReset(barLeft, barWidth, FContainer);
    FStartImage->SetLeft(FStart.MinLeft);
    FEndImage->SetLeft(FEnd.MaxLeft);
    // A picture that cannot be loaded throws from here: the markers then
    // keep their old pictures and enabled states.
    LoadMarker(*FStartImage, enabled ? "MarkStart" : "MarkStartD");
    LoadMarker(*FEndImage, enabled ? "MarkEnd" : "MarkEndD");
    FStartImage->SetEnabled(enabled);
    FEndImage->SetEnabled(enabled);
}

// The other marker may come no closer than the gap to the one just placed.
void TSelectionMarkers::KeepApart(TMarkerWhich placed) {
    if (placed == TMarkerWhich::Start)
        FEnd.MinLeft = FStartImage->Left() + MarkerGap;
    else
        FStart.MaxLeft = FEndImage->Left() - MarkerGap;
}

// The time the selection took from a time field (or from elsewhere): the
// marker goes to its place on a stream of the selection's length. A marker
// being dragged has placed itself already; a disabled one stays.
void TSelectionMarkers::Follow(TMarkerWhich which, int64_t time) {
    TMarkerDrag& marker = Record(which);
    if (!Enabled(which) || marker.Dragging)
        return;
    const int32_t left = MsToMarkerLeft(marker, time, FSelection.LengthMs());
    marker.CurLeft = left;
    Image(which)->SetLeft(left);
    KeepApart(which);
}

// The event's position, given in the marker image's client coordinates, in
// the container's client coordinates, by way of the screen.
TPoint TSelectionMarkers::PointInContainer(TMarkerWhich which, int x, int y) const {
    const QPoint p = FContainer->mapFromGlobal(Image(which)->mapToGlobal(QPoint(x, y)));
    return TPoint{p.x(), p.y()};
}

void TSelectionMarkers::Press(TMarkerWhich which, Qt::MouseButton button, int x, int y) {
    if (!Enabled(which) || button != Qt::LeftButton)
        return;
    TMarkerDrag& marker = Record(which);
    marker.LastPoint = PointInContainer(which, x, y);
    marker.Dragging = true;
    FMoved[which == TMarkerWhich::End] = false;
    // Where the two markers overlap, the one being dragged is drawn on top.
    Image(which)->raise();
}

void TSelectionMarkers::Move(TMarkerWhich which, int x, int y) {
    TImage* image = Image(which);
    TMarkerDrag& marker = Record(which);
    if (!Enabled(which) || !marker.Dragging)
        return;
    const auto moved = DragMarkerTo(marker, image->Left(), PointInContainer(which, x, y));
    if (!moved)
        return;
    image->SetLeft(*moved);
    FMoved[which == TMarkerWhich::End] = true;
    KeepApart(which);
    const int64_t time = MarkerLeftToMs(marker, FSelection.RulerMax());
    if (which == TMarkerWhich::Start)
        FSelection.SetStart(time);
    else
        FSelection.SetEnd(time);
}

// Any button's release ends the drag, after a last move to where it happened.
void TSelectionMarkers::Release(TMarkerWhich which, int x, int y) {
    Move(which, x, y);
    TMarkerDrag& marker = Record(which);
    const bool dropped = marker.Dragging && FMoved[which == TMarkerWhich::End];
    marker.Dragging = false;
    FMoved[which == TMarkerWhich::End] = false;
    if (dropped)
        emit Dropped(which);
}

} // namespace vivizu
