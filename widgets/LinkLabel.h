#pragma once
// TLinkLabel: a label that looks and acts like a link: hand cursor, its text
// underlined while the pointer is over it, Click() on a left click.

#include "widgets/Label.h"

namespace vivizu {

class TLinkLabel : public TLabel {
  Q_OBJECT

 public:
  explicit TLinkLabel(QWidget* parent = nullptr);

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
};

}  // namespace vivizu
