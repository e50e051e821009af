#pragma once
// Published properties shared by every visual control of the toolkit.
//
// A language file addresses a control by its objectName and sets a property
// by name with QObject::setProperty, so every control publishes its geometry
// and common state under the same names. moc expands these macros, so a
// control class lists VIVIZU_CONTROL_PROPERTIES next to Q_OBJECT and
// VIVIZU_CONTROL_MEMBERS in its body.
//
// Left/Top/Width/Height are the control's geometry in its parent's client
// coordinates, Hint is the tooltip, Tag a free integer the windows use as a
// re-entry guard, Enabled/Visible the control's own flags.

#include <QString>

#define VIVIZU_CONTROL_PROPERTIES                                  \
  Q_PROPERTY(int Left READ Left WRITE SetLeft)                     \
  Q_PROPERTY(int Top READ Top WRITE SetTop)                        \
  Q_PROPERTY(int Width READ Width WRITE SetWidth)                  \
  Q_PROPERTY(int Height READ Height WRITE SetHeight)               \
  Q_PROPERTY(QString Hint READ Hint WRITE SetHint)                 \
  Q_PROPERTY(int Tag READ Tag WRITE SetTag)                        \
  Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)           \
  Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)

#define VIVIZU_CONTROL_MEMBERS                                     \
 public:                                                           \
  int Left() const { return x(); }                                 \
  void SetLeft(int value) { move(value, y()); }                    \
  int Top() const { return y(); }                                  \
  void SetTop(int value) { move(x(), value); }                     \
  int Width() const { return width(); }                            \
  void SetWidth(int value) { resize(value, height()); }            \
  int Height() const { return height(); }                          \
  void SetHeight(int value) { resize(width(), value); }            \
  void SetBounds(int left, int top, int w, int h) {                \
    setGeometry(left, top, w, h);                                  \
  }                                                                \
  QString Hint() const { return toolTip(); }                       \
  void SetHint(const QString& value) { setToolTip(value); }        \
  int Tag() const { return FTag; }                                 \
  void SetTag(int value) { FTag = value; }                         \
  bool Enabled() const { return isEnabled(); }                     \
  void SetEnabled(bool value) { setEnabled(value); }               \
  bool Visible() const { return !isHidden(); }                     \
  void SetVisible(bool value) { setVisible(value); }               \
                                                                   \
 private:                                                          \
  int FTag = 0;                                                    \
                                                                   \
 public:

namespace vivizu {

// Makes a control of class T on parent, named name (the name a language
// file addresses it by), at the given place and size in parent's client
// coordinates. Qt parenting owns it.
template <class T, class Parent>
T* MakeControl(Parent* parent, const char* name, int left, int top, int width, int height) {
  auto* control = new T(parent);
  control->setObjectName(QLatin1String(name));
  control->SetBounds(left, top, width, height);
  return control;
}

}  // namespace vivizu
