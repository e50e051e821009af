#pragma once
// TURLLabel: a label that stands for an address: always underlined, hand
// cursor, and a left click opens URL with the desktop's default handler
// (web browser, mail program).

#include <QUrl>

#include "widgets/Label.h"

namespace vivizu {

class TURLLabel : public TLabel {
  Q_OBJECT
  Q_PROPERTY(QString URL READ URL WRITE SetURL)

 public:
  explicit TURLLabel(QWidget* parent = nullptr);

  QString URL() const { return FURL; }
  void SetURL(const QString& url) { FURL = url; }

 private:
  void Open();

  QString FURL;
};

}  // namespace vivizu
