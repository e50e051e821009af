#pragma once
// TPageControl: pages with their tabs down the left side. The tabs are
// rounded, drawn by the program in the accent colour (50,152,204) with the
// active tab filled; their text reads bottom to top (Rotated, the default)
// or horizontally (Horizontal, tabs as wide as their longest caption).

#include <QColor>
#include <QTabBar>
#include <QTabWidget>

#include "widgets/Control.h"
#include "widgets/Palette.h"
#include "widgets/TabSheet.h"

namespace vivizu {

// The tab strip of a TPageControl.
class TVerticalTabBar : public QTabBar {
  Q_OBJECT

 public:
  explicit TVerticalTabBar(QWidget* parent = nullptr);

  bool HorizontalText() const { return FHorizontalText; }
  void SetHorizontalText(bool horizontal);
  QColor AccentColor() const { return FAccent; }
  void SetAccentColor(const QColor& color);

 protected:
  QSize tabSizeHint(int index) const override;
  QSize minimumTabSizeHint(int index) const override;
  void paintEvent(QPaintEvent* event) override;

 private:
  bool FHorizontalText = false;
  QColor FAccent = vivizu::AccentColor();  // the palette's, not the member of the same name
};

class TPageControl : public QTabWidget {
  Q_OBJECT
  VIVIZU_CONTROL_PROPERTIES
  Q_PROPERTY(int ActivePageIndex READ ActivePageIndex WRITE SetActivePageIndex)
  Q_PROPERTY(bool HorizontalTabText READ HorizontalTabText WRITE SetHorizontalTabText)
  Q_PROPERTY(QColor AccentColor READ AccentColor WRITE SetAccentColor)
  VIVIZU_CONTROL_MEMBERS

 public:
  explicit TPageControl(QWidget* parent = nullptr);

  int PageCount() const { return count(); }
  TTabSheet* Pages(int index) const;

  TTabSheet* ActivePage() const;
  void SetActivePage(TTabSheet* page);
  int ActivePageIndex() const { return currentIndex(); }
  void SetActivePageIndex(int index) { setCurrentIndex(index); }

  bool HorizontalTabText() const;
  void SetHorizontalTabText(bool horizontal);
  QColor AccentColor() const;
  void SetAccentColor(const QColor& color);

  // Used by TTabSheet: appends a page, and refreshes a page's tab text.
  void AddPage(TTabSheet* page);
  void UpdateCaption(TTabSheet* page);

 signals:
  // The user or the program switched to another page.
  void Change();

 protected:
  bool event(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void PlaceParts();

  TVerticalTabBar* FTabBar;
  QWidget* FPane;  // the page area's rounded frame, behind the pages
};

}  // namespace vivizu
