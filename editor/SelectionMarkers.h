#pragma once
// The two selection markers that run along the position bar: a view of the
// selection. A drag moves its marker and hands the time of its new place to
// the selection; a time set any other way moves the marker to it. The
// places map to times through MarkerDrag.h.
#include "editor/MarkerDrag.h"

#include <QObject>

namespace vivizu {

class TImage;
class TSelection;
class TTrackBar;

class TSelectionMarkers : public QObject {
    Q_OBJECT

public:
    // start and end are the marker images, ruler the bar they run along;
    // drags are measured in container's client coordinates. None is owned.
    TSelectionMarkers(TSelection& selection, TImage* start, TImage* end, const TTrackBar* ruler,
                      QWidget* container);

    // Both markers back at their time-0 and full-length places, pictures
    // loaded from the program folder (enabled or disabled look), then
    // enabled or disabled. A picture that cannot be read throws, leaving
    // the later steps undone.
    void Reset(bool enabled);
    // A marker reacts only while its image is enabled.
    bool Enabled(TMarkerWhich which) const;

signals:
    // A drag that moved the marker has ended; the selection holds the time
    // of its place.
    void Dropped(vivizu::TMarkerWhich which);

private:
    TImage* Image(TMarkerWhich which) const;
    TMarkerDrag& Record(TMarkerWhich which);
    void Press(TMarkerWhich which, Qt::MouseButton button, int x, int y);
    void Move(TMarkerWhich which, int x, int y);
    void Release(TMarkerWhich which, int x, int y);
    // Moves the marker to a time the selection took from elsewhere.
    void Follow(TMarkerWhich which, int64_t time);
    TPoint PointInContainer(TMarkerWhich which, int x, int y) const;
    void KeepApart(TMarkerWhich placed);

    TSelection& FSelection;
    TImage* FStartImage;
    TImage* FEndImage;
    const TTrackBar* FRuler;
    QWidget* FContainer;
    TMarkerDrag FStart;
    TMarkerDrag FEnd;
    // Per marker (start, end): the drag in progress has moved it.
    bool FMoved[2] = {false, false};
};

} // namespace vivizu
