#pragma once
// TComboBox: a drop-down list the user picks from (no typing). Change()
// fires when the user picks an item; setting ItemIndex does not fire it.

#include <QComboBox>
#include <QStringList>

#include "widgets/Control.h"

namespace vivizu {

class TComboBox : public QComboBox {
  Q_OBJECT
  VIVIZU_CONTROL_PROPERTIES
  Q_PROPERTY(QStringList Items READ Items WRITE SetItems)
  Q_PROPERTY(int ItemIndex READ ItemIndex WRITE SetItemIndex)
  Q_PROPERTY(QString Text READ Text)
  VIVIZU_CONTROL_MEMBERS

 public:
  explicit TComboBox(QWidget* parent = nullptr);

  QStringList Items() const;
  // Replaces the list; the selected index is kept when it is still in range.
  void SetItems(const QStringList& items);
  void AddItem(const QString& item) { addItem(item); }
  int Count() const { return count(); }

  // -1 = nothing selected.
  int ItemIndex() const { return currentIndex(); }
  void SetItemIndex(int index);

  // The selected item's text, empty when none is selected.
  QString Text() const { return currentText(); }

 signals:
  void Change();
};

}  // namespace vivizu
