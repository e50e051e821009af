#include "widgets/PageControl.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QStackedWidget>

#include <algorithm>

#include "widgets/Application.h"

namespace vivizu {

namespace {
constexpr int kTextPad = 10;   // along the text, each side
constexpr int kAcrossPad = 6;  // across the text, each side
constexpr int kRadius = 5;
}  // namespace

TVerticalTabBar::TVerticalTabBar(QWidget* parent) : QTabBar(parent) {
  setShape(QTabBar::RoundedWest);
  setDrawBase(false);
  setExpanding(false);
  setUsesScrollButtons(false);
  setElideMode(Qt::ElideNone);
  setAttribute(Qt::WA_Hover);
  setMouseTracking(true);
}

void TVerticalTabBar::SetHorizontalText(bool horizontal) {
  FHorizontalText = horizontal;
  // Setting the elide mode is QTabBar's public way to lay the tabs out anew.
  setElideMode(Qt::ElideNone);
  updateGeometry();
  update();
}

void TVerticalTabBar::SetAccentColor(const QColor& color) {
  FAccent = color;
  update();
}

QSize TVerticalTabBar::tabSizeHint(int index) const {
  const QFontMetrics fm(font());
  const int across = fm.height() + 2 * kAcrossPad;
  if (FHorizontalText) {
    int widest = 0;
    for (int i = 0; i < count(); ++i) {
      widest = std::max(widest, fm.horizontalAdvance(QTabBar::tabText(i).remove(u'&')));
    }
    return {widest + 2 * kTextPad, across + 4};
  }
  const int along = fm.horizontalAdvance(tabText(index).remove(u'&')) + 2 * kTextPad;
  return {across, std::max(along, 40)};
}

QSize TVerticalTabBar::minimumTabSizeHint(int index) const { return tabSizeHint(index); }

void TVerticalTabBar::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const QPoint mouse = mapFromGlobal(QCursor::pos());
  for (int i = 0; i < count(); ++i) {
    const QRectF r = QRectF(tabRect(i)).adjusted(0.5, 1.5, 0.5, -1.5);
    const bool active = i == currentIndex();
    const bool hover = !active && underMouse() && tabRect(i).contains(mouse);

    // Rounded on the outer (left) side; the right side meets the page.
    QPainterPath path;
    path.moveTo(r.right() + 1, r.top());
    path.lineTo(r.left() + kRadius, r.top());
    path.quadTo(r.left(), r.top(), r.left(), r.top() + kRadius);
    path.lineTo(r.left(), r.bottom() - kRadius);
    path.quadTo(r.left(), r.bottom(), r.left() + kRadius, r.bottom());
    path.lineTo(r.right() + 1, r.bottom());

    QColor fill = active ? FAccent : (hover ? FAccent.lighter(175) : QColor(236, 244, 250));
    if (!isEnabled()) fill = QColor(238, 238, 238);
    p.setPen(QPen(isEnabled() ? FAccent : QColor(190, 190, 190), 1));
    p.setBrush(fill);
    p.drawPath(path);

    p.setPen(active && isEnabled() ? QColor(Qt::white)
                                   : (isEnabled() ? FAccent.darker(150) : QColor(150, 150, 150)));
    const QString text = tabText(i);
    if (FHorizontalText) {
      p.drawText(r, Qt::AlignCenter | Qt::TextShowMnemonic, text);
    } else {
      // Text reads from bottom to top.
      p.save();
      p.translate(r.center());
      p.rotate(-90);
      const QRectF turned(-r.height() / 2, -r.width() / 2, r.height(), r.width());
      p.drawText(turned, Qt::AlignCenter | Qt::TextShowMnemonic, text);
      p.restore();
    }
    if (active && hasFocus()) {
      // The keyboard's focus: a dotted frame inside the active tab.
      p.setPen(QPen(QColor(Qt::white), 1, Qt::DotLine));
      p.setBrush(Qt::NoBrush);
      p.drawRect(r.adjusted(2.5, 2.5, -2.5, -2.5));
    }
  }
}

TPageControl::TPageControl(QWidget* parent)
    : QTabWidget(parent), FTabBar(new TVerticalTabBar(this)), FPane(new QWidget(this)) {
  setTabBar(FTabBar);
  setTabPosition(QTabWidget::West);
  setDocumentMode(false);
  // The page area: white, in a rounded frame of the accent colour. It is a
  // child of its own below the tabs and pages, so that its style sheet
  // styles it alone; on the page control the sheet would style every
  // control on the pages as well, which costs the window's start dearly.
  FPane->setObjectName(QStringLiteral("qt_tabwidget_pane"));
  FPane->setStyleSheet(QStringLiteral(
      "background: white; border: 1px solid rgb(50,152,204); border-radius: 4px;"));
  FPane->lower();
  connect(this, &QTabWidget::currentChanged, this,
          [this] { GuardedCall([this] { emit Change(); }); });
}

// The tabs at the top left at their own size; the page area from the
// tabs' last column (the active tab runs into it) to the right and bottom
// edges; the pages inside its one-pixel frame.
void TPageControl::PlaceParts() {
  const QSize tabs = FTabBar->sizeHint();
  FTabBar->setGeometry(0, 0, tabs.width(), std::min(tabs.height(), height()));
  const QRect pane(tabs.width() - 1, 0, width() - tabs.width() + 1, height());
  FPane->setGeometry(pane);
  if (auto* stack = findChild<QStackedWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    stack->setGeometry(pane.adjusted(1, 1, -1, -1));
  }
}

// QTabWidget lays its parts out on these events; the page control's own
// places follow.
bool TPageControl::event(QEvent* event) {
  const bool done = QTabWidget::event(event);
  if (event->type() == QEvent::LayoutRequest) PlaceParts();
  return done;
}

void TPageControl::resizeEvent(QResizeEvent* event) {
  QTabWidget::resizeEvent(event);
  PlaceParts();
}

void TPageControl::showEvent(QShowEvent* event) {
  QTabWidget::showEvent(event);
  PlaceParts();
}

void TPageControl::changeEvent(QEvent* event) {
  QTabWidget::changeEvent(event);
  if (event->type() == QEvent::StyleChange || event->type() == QEvent::FontChange) PlaceParts();
}

// The frame is the pane's; the style's own tab widget frame is not drawn.
void TPageControl::paintEvent(QPaintEvent*) {}

TTabSheet* TPageControl::Pages(int index) const { return qobject_cast<TTabSheet*>(widget(index)); }

TTabSheet* TPageControl::ActivePage() const { return qobject_cast<TTabSheet*>(currentWidget()); }

void TPageControl::SetActivePage(TTabSheet* page) {
  if (page && indexOf(page) >= 0) setCurrentWidget(page);
}

bool TPageControl::HorizontalTabText() const { return FTabBar->HorizontalText(); }

void TPageControl::SetHorizontalTabText(bool horizontal) {
  FTabBar->SetHorizontalText(horizontal);
  // The page area moves with the width of the tab strip.
  QEvent relayout(QEvent::LayoutRequest);
  QCoreApplication::sendEvent(this, &relayout);
}

QColor TPageControl::AccentColor() const { return FTabBar->AccentColor(); }

void TPageControl::SetAccentColor(const QColor& color) { FTabBar->SetAccentColor(color); }

void TPageControl::AddPage(TTabSheet* page) {
  // The first page added becomes the active one without firing Change.
  const QSignalBlocker block(count() == 0 ? this : nullptr);
  addTab(page, page->Caption());
}

void TPageControl::UpdateCaption(TTabSheet* page) {
  const int index = indexOf(page);
  if (index >= 0) setTabText(index, page->Caption());
}

}  // namespace vivizu
