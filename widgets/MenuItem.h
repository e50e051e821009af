#pragma once
// TMenuItem: one entry of a TPopupMenu. Created with its menu as parent, it
// becomes the menu's last item. Clicking it fires Click(); it does not tick
// itself (the handler sets Checked). Checked radio items show a dot, other
// checked items a tick.

#include <QObject>
#include <QString>

namespace vivizu {

class TPopupMenu;

class TMenuItem : public QObject {
  Q_OBJECT
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(QString Hint READ Hint WRITE SetHint)
  Q_PROPERTY(int Tag READ Tag WRITE SetTag)
  Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
  Q_PROPERTY(bool RadioItem READ RadioItem WRITE SetRadioItem)
  Q_PROPERTY(int GroupIndex READ GroupIndex WRITE SetGroupIndex)
  Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
  Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)

 public:
  explicit TMenuItem(TPopupMenu* menu);

  QString Caption() const { return FCaption; }
  void SetCaption(const QString& caption) { FCaption = caption; }
  QString Hint() const { return FHint; }
  void SetHint(const QString& hint) { FHint = hint; }
  int Tag() const { return FTag; }
  void SetTag(int tag) { FTag = tag; }
  // Checking a radio item unchecks the other radio items of its group.
  bool Checked() const { return FChecked; }
  void SetChecked(bool checked);
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool radio) { FRadioItem = radio; }
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int group) { FGroupIndex = group; }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled) { FEnabled = enabled; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool visible) { FVisible = visible; }

  TPopupMenu* Menu() const { return FMenu; }

  // What a click on the item does: fires Click() under the error report.
  void DoClick();

 signals:
  void Click();

 private:
  TPopupMenu* FMenu;
  QString FCaption, FHint;
  int FTag = 0;
  bool FChecked = false;
  bool FRadioItem = false;
  int FGroupIndex = 0;
  bool FEnabled = true;
  bool FVisible = true;
};

}  // namespace vivizu
