#pragma once
// TRadioButton: Click() fires when the button becomes checked, by the user
// or by the program setting Checked.

#include <QRadioButton>

#include "widgets/Control.h"

namespace vivizu {

class TRadioButton : public QRadioButton {
  Q_OBJECT
  VIVIZU_CONTROL_PROPERTIES
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
  VIVIZU_CONTROL_MEMBERS

 public:
  explicit TRadioButton(QWidget* parent = nullptr);

  QString Caption() const { return text(); }
  void SetCaption(const QString& caption) { setText(caption); }
  bool Checked() const { return isChecked(); }
  void SetChecked(bool checked) { setChecked(checked); }

 signals:
  void Click();
};

}  // namespace vivizu
