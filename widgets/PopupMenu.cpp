#include "widgets/PopupMenu.h"

#include <QActionGroup>
#include <QMenu>
#include <QWidget>

#include "widgets/MenuItem.h"

namespace vivizu {

TPopupMenu::TPopupMenu(QObject* owner) : QObject(owner) {}

TPopupMenu::~TPopupMenu() { delete FMenu; }

void TPopupMenu::AddItem(TMenuItem* item) {
  FItems.append(item);
  connect(item, &QObject::destroyed, this, [this, item] { RemoveItem(item); });
}

void TPopupMenu::RemoveItem(TMenuItem* item) { FItems.removeAll(item); }

void TPopupMenu::Popup(int x, int y) {
  delete FMenu;
  FMenu = new QMenu(qobject_cast<QWidget*>(parent()));
  FMenu->setAttribute(Qt::WA_DeleteOnClose, false);
  for (TMenuItem* item : FItems) {
    if (!item->Visible()) continue;
    QAction* action = FMenu->addAction(item->Caption());
    action->setToolTip(item->Hint());
    action->setEnabled(item->Enabled());
    action->setCheckable(item->Checked() || item->RadioItem());
    action->setChecked(item->Checked());
    if (item->RadioItem()) {
      // An exclusive group only for the look: a radio item shows a dot.
      auto* group = new QActionGroup(action);
      group->addAction(action);
    }
    // The item decides about its own tick in its Click handler; QAction's
    // automatic toggle must not change it first.
    QPointer<TMenuItem> target(item);
    connect(action, &QAction::triggered, item, [target] {
      if (target) target->DoClick();
    });
  }
  FMenu->popup(QPoint(x, y));
}

}  // namespace vivizu
