#include "widgets/RadioButton.h"

#include "widgets/Application.h"

namespace vivizu {

TRadioButton::TRadioButton(QWidget* parent) : QRadioButton(parent) {
  connect(this, &QAbstractButton::toggled, this, [this](bool on) {
    if (on) GuardedCall([this] { emit Click(); });
  });
}

}  // namespace vivizu
