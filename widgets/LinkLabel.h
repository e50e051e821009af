#pragma once
// TLinkLabel: a label that looks and acts like a link: hand cursor, its text
// underlined while the pointer is over it, Click() on a left click.
//
// Unlike a plain label, its caption may carry an accelerator: "&Language"
// shows the L underlined and Alt+L (in the label's window) clicks it, so a
// link that opens a menu can be reached from the keyboard. "&&" shows one
// "&". The accessible name is the caption without its "&".

#include <QKeySequence>

#include "widgets/Label.h"

class QShortcut;

namespace vivizu {

class TLinkLabel : public TLabel {
  Q_OBJECT

 public:
  explicit TLinkLabel(QWidget* parent = nullptr);

  // The caption as set, "&" included.
  QString Caption() const override { return FCaption; }
  void SetCaption(const QString& caption) override;

  // The key that clicks the label (Alt and the letter after "&"); empty
  // when the caption has none.
  QKeySequence Accelerator() const;

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  QString FCaption;
  QShortcut* FShortcut = nullptr;
};

// The caption as rich text: HTML special characters escaped, the letter
// after a single "&" underlined, "&&" as one "&".
QString AcceleratorMarkup(const QString& caption);
// The caption without its accelerator marks ("&&" stays one "&").
QString WithoutAccelerator(const QString& caption);

}  // namespace vivizu
