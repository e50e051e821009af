#include "widgets/MenuItem.h"

#include "widgets/Application.h"
#include "widgets/PopupMenu.h"

namespace vivizu {

TMenuItem::TMenuItem(TPopupMenu* menu) : QObject(menu), FMenu(menu) {
  if (FMenu) FMenu->AddItem(this);
}

void TMenuItem::SetChecked(bool checked) {
  FChecked = checked;
  if (!checked || !FRadioItem || !FMenu) return;
  for (TMenuItem* other : FMenu->Items()) {
    if (other != this && other->FRadioItem && other->FGroupIndex == FGroupIndex) {
      other->FChecked = false;
    }
  }
}

void TMenuItem::DoClick() {
  GuardedCall([this] { emit Click(); });
}

}  // namespace vivizu
