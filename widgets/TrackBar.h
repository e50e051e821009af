#pragma once
// TTrackBar: a horizontal slider drawn by the program: a white track 4 px
// high inset TrackOffset pixels from both ends, a thumb picture (or a plain
// drawn thumb when none is set), no tick marks. Left/Up and Right/Down move
// by LineSize, Page Up/Page Down by PageSize, Home/End go to Min/Max; dragging the
// thumb follows the pointer, a click beside it moves one page towards it.
// Change() fires whenever Position changes, by the user or the program.

#include <QAbstractSlider>
#include <QPixmap>

#include "widgets/Control.h"

namespace vivizu {

class TTrackBar : public QAbstractSlider {
  Q_OBJECT
  VIVIZU_CONTROL_PROPERTIES
  Q_PROPERTY(int Min READ Min WRITE SetMin)
  Q_PROPERTY(int Max READ Max WRITE SetMax)
  Q_PROPERTY(int Position READ Position WRITE SetPosition)
  Q_PROPERTY(int LineSize READ LineSize WRITE SetLineSize)
  Q_PROPERTY(int PageSize READ PageSize WRITE SetPageSize)
  Q_PROPERTY(int ThumbLength READ ThumbLength WRITE SetThumbLength)
  Q_PROPERTY(int TrackOffset READ TrackOffset WRITE SetTrackOffset)
  Q_PROPERTY(QPixmap Thumb READ Thumb WRITE SetThumb)
  VIVIZU_CONTROL_MEMBERS

 public:
  explicit TTrackBar(QWidget* parent = nullptr);

  int Min() const { return minimum(); }
  void SetMin(int value) { setMinimum(value); }
  int Max() const { return maximum(); }
  void SetMax(int value) { setMaximum(value); }
  int Position() const { return value(); }
  void SetPosition(int value) { setValue(value); }
  int LineSize() const { return singleStep(); }
  void SetLineSize(int value) { setSingleStep(value); }
  int PageSize() const { return pageStep(); }
  void SetPageSize(int value) { setPageStep(value); }

  // The thumb's size across the track (its height), used when no picture is set.
  int ThumbLength() const { return FThumbLength; }
  void SetThumbLength(int value);
  // The track's inset from the left and right edges: the thumb's centre
  // stands TrackOffset pixels in from an edge at Min and Max.
  int TrackOffset() const { return FTrackOffset; }
  void SetTrackOffset(int value);
  QPixmap Thumb() const { return FThumb; }
  void SetThumb(const QPixmap& thumb);

  // The x coordinate of the thumb's centre for a position, and the position
  // nearest to an x coordinate.
  int PositionToX(int position) const;
  int XToPosition(int x) const;
  // The thumb's rectangle at the current position.
  QRect ThumbRect() const;

  QSize sizeHint() const override;

 signals:
  void Change();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QSize ThumbSize() const;

  QPixmap FThumb;
  int FThumbLength = 20;
  int FTrackOffset = 8;
  int FGrabOffset = 0;
};

}  // namespace vivizu
