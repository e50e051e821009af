// The selection: two markers dragged along the position bar and two time
// fields, kept in step with each other and with FStartTime / FEndTime.
#include "editor/TagGuard.h"
#include "editor/TimeParse.h"
#include "editor/TimeText.h"
#include "editor/UnitMP3Editor.h"
#include "engine/RoruvoMp3.h"
#include "platform/ProgramFolder.h"
#include "widgets/Image.h"
#include "widgets/Label.h"
#include "widgets/MaskEdit.h"
#include "widgets/TrackBar.h"

#include <QFile>

namespace vivizu {

namespace {

QString ProgramFile(const char* name) {
    return QFile::decodeName(QByteArray::fromStdString(ProgramFolder())) +
           QString::fromLatin1(name);
}

// A marker reacts only while its own Enabled flag is set.
bool MarkerEnabled(const TImage* image) { return image->isEnabledTo(image->parentWidget()); }

} // namespace

void TFrmMP3Editor::WireSelection() {
    connect(ImageStart, &TImage::MouseDown, this, &TFrmMP3Editor::ImageStartMouseDown);
    connect(ImageStart, &TImage::MouseMove, this, &TFrmMP3Editor::ImageStartMouseMove);
    connect(ImageStart, &TImage::MouseUp, this, &TFrmMP3Editor::ImageStartMouseUp);
    connect(ImageEnd, &TImage::MouseDown, this, &TFrmMP3Editor::ImageEndMouseDown);
    connect(ImageEnd, &TImage::MouseMove, this, &TFrmMP3Editor::ImageEndMouseMove);
    connect(ImageEnd, &TImage::MouseUp, this, &TFrmMP3Editor::ImageEndMouseUp);
    // Both fields share one handler, which tells them apart by the sender.
    for (TMaskEdit* field : {RzMaskEdit1, RzMaskEdit2})
        connect(field, &TMaskEdit::Change, this, [this, field] { RzMaskEdit1Change(field); });
}

TImage* TFrmMP3Editor::MarkerImage(TMarkerWhich which) const {
    return which == TMarkerWhich::Start ? ImageStart : ImageEnd;
}

TMarkerDrag& TFrmMP3Editor::MarkerRecord(TMarkerWhich which) {
    return which == TMarkerWhich::Start ? FStartMarker : FEndMarker;
}

TMaskEdit* TFrmMP3Editor::MarkerField(TMarkerWhich which) const {
    return which == TMarkerWhich::Start ? RzMaskEdit1 : RzMaskEdit2;
}

int64_t TFrmMP3Editor::StreamLengthMs() const { return FMp3 ? FMp3->Info.LengthMs : 0; }

int64_t TFrmMP3Editor::BarMaxMs() const { return TrackBarPos->Max(); }

void TFrmMP3Editor::ResetMarkers(bool enabled) {
    const int barLeft = TrackBarPos->Left();
    const int barWidth = TrackBarPos->Width();
    FStartMarker = StartMarkerAtReset(barLeft, barWidth, this);
    FEndMarker = EndMarkerAtReset(barLeft, barWidth, this);
    ImageStart->SetLeft(FStartMarker.MinLeft);
    ImageEnd->SetLeft(FEndMarker.MaxLeft);

    // A picture that cannot be loaded throws from here: the markers then
    // keep their old pictures and enabled states.
    ImageStart->LoadFromFile(ProgramFile(enabled ? "MarkStart.bmp" : "MarkStartD.bmp"));
    ImageEnd->LoadFromFile(ProgramFile(enabled ? "MarkEnd.bmp" : "MarkEndD.bmp"));

    ImageStart->SetEnabled(enabled);
    ImageEnd->SetEnabled(enabled);
    LabelStart->SetEnabled(enabled);
    LabelEnd->SetEnabled(enabled);
    RzMaskEdit1->SetEnabled(enabled);
    RzMaskEdit2->SetEnabled(enabled);
}

void TFrmMP3Editor::MarkerToTime(TMarkerWhich which) {
    if (!MarkerEnabled(MarkerImage(which)))
        return;
    const int64_t time = MarkerLeftToMs(MarkerRecord(which), static_cast<int32_t>(BarMaxMs()));
    (which == TMarkerWhich::Start ? FStartTime : FEndTime) = time;

    TMaskEdit* field = MarkerField(which);
    TTagGuard guard(field);
    field->SetText(MsToTimeText(time));
}

void TFrmMP3Editor::TimeToMarker(TMarkerWhich which, int64_t time) {
    TImage* image = MarkerImage(which);
    if (!MarkerEnabled(image))
        return;
    (which == TMarkerWhich::Start ? FStartTime : FEndTime) = time;

    TMarkerDrag& marker = MarkerRecord(which);
    // With no stream length the marker goes to its time-0 place.
    const int32_t left = MsToMarkerLeft(marker, time, StreamLengthMs());
    marker.CurLeft = left;
    image->SetLeft(left);
    KeepMarkersApart(which);
}

// The other marker may come no closer than the gap to the one just placed.
void TFrmMP3Editor::KeepMarkersApart(TMarkerWhich placed) {
    if (placed == TMarkerWhich::Start)
        FEndMarker.MinLeft = ImageStart->Left() + MarkerGap;
    else
        FStartMarker.MaxLeft = ImageEnd->Left() - MarkerGap;
}

// The event's position, given in the marker image's client coordinates, in
// the coordinates of the marker's container (the window), by way of the
// screen.
TPoint TFrmMP3Editor::MarkerPointInContainer(TMarkerWhich which, int x, int y) const {
    const TImage* image = MarkerImage(which);
    const QWidget* container = (which == TMarkerWhich::Start ? FStartMarker : FEndMarker).Container;
    if (!container)
        container = this;
    const QPoint p = container->mapFromGlobal(image->mapToGlobal(QPoint(x, y)));
    return TPoint{p.x(), p.y()};
}

void TFrmMP3Editor::MarkerMouseDown(TMarkerWhich which, Qt::MouseButton button, int x, int y) {
    TImage* image = MarkerImage(which);
    if (!MarkerEnabled(image) || button != Qt::LeftButton)
        return;
    TMarkerDrag& marker = MarkerRecord(which);
    marker.LastPoint = MarkerPointInContainer(which, x, y);
    marker.Dragging = true;
    // Where the two markers overlap, the one being dragged is drawn on top.
    image->raise();
}

void TFrmMP3Editor::MarkerMouseMove(TMarkerWhich which, int x, int y) {
    TImage* image = MarkerImage(which);
    TMarkerDrag& marker = MarkerRecord(which);
    if (!MarkerEnabled(image) || !marker.Dragging)
        return;
    const auto moved = DragMarkerTo(marker, image->Left(), MarkerPointInContainer(which, x, y));
    if (!moved)
        return;
    image->SetLeft(*moved);
    KeepMarkersApart(which);
    MarkerToTime(which);
}

void TFrmMP3Editor::ImageStartMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers /*shift*/,
                                        int x, int y) {
    MarkerMouseDown(TMarkerWhich::Start, button, x, y);
}

void TFrmMP3Editor::ImageStartMouseMove(Qt::KeyboardModifiers /*shift*/, int x, int y) {
    MarkerMouseMove(TMarkerWhich::Start, x, y);
}

// Any button's release ends the drag, after a last move to where it happened.
void TFrmMP3Editor::ImageStartMouseUp(Qt::MouseButton /*button*/, Qt::KeyboardModifiers /*shift*/,
                                      int x, int y) {
    MarkerMouseMove(TMarkerWhich::Start, x, y);
    FStartMarker.Dragging = false;
}

void TFrmMP3Editor::ImageEndMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers /*shift*/,
                                      int x, int y) {
    MarkerMouseDown(TMarkerWhich::End, button, x, y);
}

void TFrmMP3Editor::ImageEndMouseMove(Qt::KeyboardModifiers /*shift*/, int x, int y) {
    MarkerMouseMove(TMarkerWhich::End, x, y);
}

void TFrmMP3Editor::ImageEndMouseUp(Qt::MouseButton /*button*/, Qt::KeyboardModifiers /*shift*/,
                                    int x, int y) {
    MarkerMouseMove(TMarkerWhich::End, x, y);
    FEndMarker.Dragging = false;
}

void TFrmMP3Editor::RzMaskEdit1Change(TMaskEdit* sender) {
    // Raised Tag: the program itself is writing the text.
    if (!sender || sender->Tag() != 0)
        return;
    const bool isStart = sender == RzMaskEdit1;
    const int64_t lower = isStart ? 0 : FStartTime;
    const int64_t upper = isStart ? FEndTime : StreamLengthMs();

    int64_t time = TimeTextToMs(NormalizeTimeText(sender->Text()));
    if (time < lower)
        time = lower;
    else if (time > upper)
        time = upper;

    // Replace what the field cannot stand for (a tens digit above 5, a
    // blank, a time beyond its bounds) at once, leaving the caret where the
    // user was typing.
    const QString text = MsToTimeText(time);
    if (text != sender->Text()) {
        TTagGuard guard(sender);
        const int selStart = sender->SelStart();
        const int selLength = sender->SelLength();
        sender->SetText(text);
        sender->SetSelStart(selStart);
        sender->SetSelLength(selLength);
    }
    TimeToMarker(isStart ? TMarkerWhich::Start : TMarkerWhich::End, time);
}

} // namespace vivizu
