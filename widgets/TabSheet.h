#pragma once
// TTabSheet: one page of a TPageControl. Created with its page control as
// parent, it becomes that control's last page; its Caption is the tab text.

#include <QWidget>

#include "widgets/Control.h"

namespace vivizu {

class TPageControl;

class TTabSheet : public QWidget {
  Q_OBJECT
  VIVIZU_CONTROL_PROPERTIES
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(int PageIndex READ PageIndex)
  VIVIZU_CONTROL_MEMBERS

 public:
  explicit TTabSheet(TPageControl* pageControl);

  QString Caption() const { return FCaption; }
  void SetCaption(const QString& caption);

  TPageControl* PageControl() const { return FPageControl; }
  // This page's index in its page control, -1 when it is in none.
  int PageIndex() const;

 private:
  TPageControl* FPageControl;
  QString FCaption;
};

}  // namespace vivizu
