#pragma once
// TMaskEdit: a one-line edit under an edit mask such as "000:00:00.000;1;_".
//
// The mask has up to three fields split by ";": the pattern ("0" a required
// digit, "9" an optional digit, "L"/"l" a letter, "A"/"a" a letter or digit,
// "C"/"c" any character, "\" makes the next character a literal, anything
// else is a literal), whether literals belong to Text ("1", the default) and
// the character shown in unfilled positions ("_" by default).
//
// Text is the content with its literals and a SPACE in each unfilled
// position, always as long as the pattern. Setting Text accepts spaces or the
// blank character for unfilled positions. Typing overwrites the character at
// the caret and steps over literals; Backspace and Delete blank positions
// without shifting the rest. Change() fires on every change of Text, made by
// the user or by setting Text.

#include <QColor>
#include <QLineEdit>

#include "widgets/Control.h"

namespace vivizu {

class TMaskEdit : public QLineEdit {
  Q_OBJECT
  VIVIZU_CONTROL_PROPERTIES
  Q_PROPERTY(QString Text READ Text WRITE SetText)
  Q_PROPERTY(QString EditMask READ EditMask WRITE SetEditMask)
  Q_PROPERTY(int MaxLength READ MaxLength WRITE SetMaxLength)
  Q_PROPERTY(int SelStart READ SelStart WRITE SetSelStart)
  Q_PROPERTY(int SelLength READ SelLength WRITE SetSelLength)
  Q_PROPERTY(QColor FontColor READ FontColor WRITE SetFontColor)
  Q_PROPERTY(QColor FrameColor READ FrameColor WRITE SetFrameColor)
  VIVIZU_CONTROL_MEMBERS

 public:
  explicit TMaskEdit(QWidget* parent = nullptr);

  QString Text() const;
  void SetText(const QString& text);
  // The text as shown: the blank character in unfilled positions.
  QString DisplayText() const { return displayText(); }

  QString EditMask() const { return FEditMask; }
  void SetEditMask(const QString& mask);

  // Without a mask, the longest text (0 = no limit); a mask fixes the length.
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int length);

  // The caret: SelStart is where the selection (or the caret) begins,
  // SelLength how many characters are selected. Setting SelStart removes the
  // selection; setting SelLength selects from SelStart.
  int SelStart() const;
  void SetSelStart(int start);
  int SelLength() const;
  void SetSelLength(int length);

  QColor FontColor() const { return FFontColor; }
  void SetFontColor(const QColor& color);
  QColor FrameColor() const { return FFrameColor; }
  void SetFrameColor(const QColor& color);

  // The Qt input mask that an edit mask translates to (exposed for tests).
  static QString ToInputMask(const QString& editMask);

 signals:
  void Change();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void ApplyStyle();
  void OnTextChanged();

  QString FEditMask;
  QChar FBlank = u'_';
  bool FLiteralsInText = true;
  QVector<bool> FLiteral;  // per position: a fixed literal
  QVector<QChar> FKinds;   // per position: Qt's mask character, or the literal
  int FMaxLength = 0;
  QColor FFontColor;
  QColor FFrameColor;
  QString FLastText;
};

}  // namespace vivizu
