#include "widgets/ComboBox.h"

#include "widgets/Application.h"

namespace vivizu {

TComboBox::TComboBox(QWidget* parent) : QComboBox(parent) {
  setEditable(false);
  setMaxVisibleItems(16);
  connect(this, &QComboBox::activated, this, [this] { GuardedCall([this] { emit Change(); }); });
}

QStringList TComboBox::Items() const {
  QStringList items;
  items.reserve(count());
  for (int i = 0; i < count(); ++i) items.append(itemText(i));
  return items;
}

void TComboBox::SetItems(const QStringList& items) {
  const int index = currentIndex();
  const QSignalBlocker block(this);
  clear();
  addItems(items);
  setCurrentIndex(index < count() ? index : -1);
}

void TComboBox::SetItemIndex(int index) {
  setCurrentIndex(index >= 0 && index < count() ? index : -1);
}

}  // namespace vivizu
