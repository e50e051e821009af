#include "widgets/CheckBox.h"

#include "widgets/Application.h"

namespace vivizu {

TCheckBox::TCheckBox(QWidget* parent) : QCheckBox(parent) {
  connect(this, &QAbstractButton::toggled, this, [this] { GuardedCall([this] { emit Click(); }); });
}

}  // namespace vivizu
