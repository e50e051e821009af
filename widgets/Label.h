#pragma once
// TLabel: a text label that also reports mouse events (the caption strip of
// a window and link-like labels need them).

#include <QColor>
#include <QLabel>

#include "widgets/Control.h"

namespace vivizu {

class TLabel : public QLabel {
  Q_OBJECT
  VIVIZU_CONTROL_PROPERTIES
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(Qt::Alignment Alignment READ Alignment WRITE SetAlignment)
  Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
  Q_PROPERTY(QColor FontColor READ FontColor WRITE SetFontColor)
  Q_PROPERTY(QColor Color READ Color WRITE SetColor)
  Q_PROPERTY(bool Bold READ Bold WRITE SetBold)
  Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
  Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
  VIVIZU_CONTROL_MEMBERS

 public:
  explicit TLabel(QWidget* parent = nullptr);

  // Virtual: a link label shows its caption with the accelerator marked.
  virtual QString Caption() const { return text(); }
  // Sets the text ("&" marks no accelerator: labels show it as typed);
  // an AutoSize label resizes to its text, keeping its left/top corner, or
  // its right edge when it is right-aligned.
  virtual void SetCaption(const QString& caption);

  Qt::Alignment Alignment() const { return alignment(); }
  void SetAlignment(Qt::Alignment a) { setAlignment(a); }

  // A transparent label draws on its parent's background (the default);
  // otherwise it fills itself with Color.
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool transparent);

  QColor FontColor() const { return FFontColor; }
  void SetFontColor(const QColor& color);
  QColor Color() const { return FColor; }
  void SetColor(const QColor& color);

  bool Bold() const { return font().bold(); }
  void SetBold(bool bold);

  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool autoSize);

  bool WordWrap() const { return wordWrap(); }
  void SetWordWrap(bool wrap) { setWordWrap(wrap); }

 signals:
  // A left-button press and release over the label.
  void Click();
  // x, y in the label's client coordinates.
  void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);
  void MouseMove(Qt::KeyboardModifiers shift, int x, int y);
  void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, int x, int y);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void ApplyColors();
  void FitToText();

  QColor FFontColor;
  QColor FColor;
  bool FTransparent = true;
  bool FAutoSize = false;
  bool FPressed = false;
};

}  // namespace vivizu
