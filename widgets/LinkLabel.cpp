#include "widgets/LinkLabel.h"

#include <QShortcut>

#include "widgets/Application.h"

namespace vivizu {

QString AcceleratorMarkup(const QString& caption) {
  QString html;
  for (qsizetype i = 0; i < caption.size(); ++i) {
    QChar c = caption[i];
    bool underline = false;
    if (c == u'&' && i + 1 < caption.size()) {
      c = caption[++i];
      underline = c != u'&';
    }
    const QString piece = QString(c).toHtmlEscaped();
    html += underline ? QStringLiteral("<u>") + piece + QStringLiteral("</u>") : piece;
  }
  return html;
}

QString WithoutAccelerator(const QString& caption) {
  QString plain;
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] == u'&' && i + 1 < caption.size()) ++i;
    plain += caption[i];
  }
  return plain;
}

TLinkLabel::TLinkLabel(QWidget* parent) : TLabel(parent) {
  setCursor(Qt::PointingHandCursor);
  setTextFormat(Qt::RichText);
  FShortcut = new QShortcut(this);
  FShortcut->setContext(Qt::WindowShortcut);
  connect(FShortcut, &QShortcut::activated, this, [this] {
    if (isEnabled()) GuardedCall([this] { emit Click(); });
  });
}

void TLinkLabel::SetCaption(const QString& caption) {
  FCaption = caption;
  TLabel::SetCaption(AcceleratorMarkup(caption));
  setAccessibleName(WithoutAccelerator(caption));
  FShortcut->setKey(Accelerator());
}

QKeySequence TLinkLabel::Accelerator() const { return QKeySequence::mnemonic(FCaption); }

void TLinkLabel::enterEvent(QEnterEvent* event) {
  QFont f = font();
  f.setUnderline(true);
  setFont(f);
  TLabel::enterEvent(event);
}

void TLinkLabel::leaveEvent(QEvent* event) {
  QFont f = font();
  f.setUnderline(false);
  setFont(f);
  TLabel::leaveEvent(event);
}

}  // namespace vivizu
