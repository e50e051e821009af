#include "widgets/TabSheet.h"

#include "widgets/PageControl.h"

namespace vivizu {

TTabSheet::TTabSheet(TPageControl* pageControl) : QWidget(pageControl), FPageControl(pageControl) {
  if (FPageControl) FPageControl->AddPage(this);
}

void TTabSheet::SetCaption(const QString& caption) {
  FCaption = caption;
  if (FPageControl) FPageControl->UpdateCaption(this);
}

int TTabSheet::PageIndex() const { return FPageControl ? FPageControl->indexOf(this) : -1; }

}  // namespace vivizu
