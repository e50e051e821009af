#pragma once
// TCheckBox: Click() fires whenever Checked changes, by the user or by the
// program setting Checked.

#include <QCheckBox>

#include "widgets/Control.h"

namespace vivizu {

class TCheckBox : public QCheckBox {
  Q_OBJECT
  VIVIZU_CONTROL_PROPERTIES
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
  VIVIZU_CONTROL_MEMBERS

 public:
  explicit TCheckBox(QWidget* parent = nullptr);

  QString Caption() const { return text(); }
  void SetCaption(const QString& caption) { setText(caption); }
  bool Checked() const { return isChecked(); }
  void SetChecked(bool checked) { setChecked(checked); }

 signals:
  void Click();
};

}  // namespace vivizu
