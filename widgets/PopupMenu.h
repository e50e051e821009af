#pragma once
// TPopupMenu: a non-visual component holding TMenuItems; Popup shows them as
// a context menu at a screen point. The menu is built afresh from the items
// at each Popup, so captions set in between (a language change) show.

#include <QList>
#include <QMenu>
#include <QObject>
#include <QPointer>

class QWidget;

namespace vivizu {

class TMenuItem;

class TPopupMenu : public QObject {
  Q_OBJECT
  Q_PROPERTY(int Tag READ Tag WRITE SetTag)

 public:
  // The owner widget (when the owner is one) gives the menu its font.
  explicit TPopupMenu(QObject* owner = nullptr);
  ~TPopupMenu() override;

  QList<TMenuItem*> Items() const { return FItems; }
  int Count() const { return static_cast<int>(FItems.size()); }

  // Shows the menu with its top-left corner at the screen point (x, y) and
  // returns at once; a chosen item fires its Click() later.
  void Popup(int x, int y);
  // The menu last shown (null before the first Popup); for tests.
  QMenu* Shown() const { return FMenu; }

  int Tag() const { return FTag; }
  void SetTag(int tag) { FTag = tag; }

  // Used by TMenuItem.
  void AddItem(TMenuItem* item);
  void RemoveItem(TMenuItem* item);

 private:
  QList<TMenuItem*> FItems;
  QPointer<QMenu> FMenu;
  int FTag = 0;
};

}  // namespace vivizu
