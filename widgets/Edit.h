#pragma once
// TEdit: a plain one-line edit. Change() fires on every change of Text, made
// by the user or by setting Text.

#include <QColor>
#include <QLineEdit>

#include "widgets/Control.h"
#include "widgets/Palette.h"

namespace vivizu {

class TEdit : public QLineEdit {
  Q_OBJECT
  VIVIZU_CONTROL_PROPERTIES
  Q_PROPERTY(QString Text READ Text WRITE SetText)
  Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)
  Q_PROPERTY(QColor FontColor READ FontColor WRITE SetFontColor)
  Q_PROPERTY(QColor FrameColor READ FrameColor WRITE SetFrameColor)
  VIVIZU_CONTROL_MEMBERS

 public:
  explicit TEdit(QWidget* parent = nullptr);

  QString Text() const { return text(); }
  // Longer text than MaxLength is cut to MaxLength.
  void SetText(const QString& text) { setText(text); }

  // The longest text the field takes; 0 = no limit.
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int length);

  QColor FontColor() const { return FFontColor; }
  void SetFontColor(const QColor& color);
  QColor FrameColor() const { return FFrameColor; }
  void SetFrameColor(const QColor& color);

 signals:
  void Change();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void ApplyStyle();

  int FMaxLength = 0;
  QColor FFontColor;
  QColor FFrameColor = AccentColor();
};

}  // namespace vivizu
