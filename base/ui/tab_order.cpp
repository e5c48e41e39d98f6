#include "base/ui/tab_order.h"

#include <QBoxLayout>
#include <QFormLayout>
#include <QLayout>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QWidget>
#include <algorithm>
#include <set>
#include <utility>

namespace n27 {

namespace {

class Walker {
 public:
  explicit Walker(QWidget *window) : window_(window) {}

  std::vector<QWidget *> run() {
    widget(window_, true);
    // Controls no layout placed (a cell editor, a box positioned by hand), by position.
    std::vector<QWidget *> rest;
    for (QWidget *w : window_->findChildren<QWidget *>())
      if (!seen_.count(w) && takesTab(w) && ownedHere(w)) rest.push_back(w);
    std::stable_sort(rest.begin(), rest.end(), [this](QWidget *a, QWidget *b) {
      const QPoint pa = a->mapTo(window_, QPoint(0, 0)), pb = b->mapTo(window_, QPoint(0, 0));
      return std::make_pair(pa.y(), pa.x()) < std::make_pair(pb.y(), pb.x());
    });
    for (QWidget *w : rest) add(w);
    return order_;
  }

 private:
  static bool takesTab(QWidget *w) { return (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus; }

  // A control inside another control (the line edit of a list box, a scroll bar) is reached
  // through its owner; a separate window is not part of this one.
  bool ownedHere(QWidget *w) const {
    for (QWidget *p = w->parentWidget(); p; p = p->parentWidget()) {
      if (p == window_) return true;
      if (p->isWindow()) return false;
      if (seen_.count(p) && leaves_.count(p)) return false;
    }
    return false;
  }

  void add(QWidget *w) {
    if (!seen_.insert(w).second) return;
    leaves_.insert(w);
    if (takesTab(w)) order_.push_back(w);
  }

  void widget(QWidget *w, bool top = false) {
    if (!top && w->isWindow()) return;
    if (seen_.count(w)) return;
    if (auto *tabs = qobject_cast<QTabWidget *>(w)) {
      seen_.insert(w);
      add(tabs->tabBar());
      for (int i = 0; i < tabs->count(); ++i) widget(tabs->widget(i));
      return;
    }
    if (auto *stack = qobject_cast<QStackedWidget *>(w)) {
      seen_.insert(w);
      for (int i = 0; i < stack->count(); ++i) widget(stack->widget(i));
      return;
    }
    if (auto *scroll = qobject_cast<QScrollArea *>(w); scroll && scroll->widget()) {
      seen_.insert(w);
      widget(scroll->widget());
      return;
    }
    // A control in its own right (a list box, a table, a button): its insides are its own.
    if (takesTab(w) && !top) {
      add(w);
      return;
    }
    if (!top) seen_.insert(w);
    if (w->layout()) layout(w->layout());
  }

  void item(QLayoutItem *i) {
    if (!i) return;
    if (QWidget *w = i->widget()) widget(w);
    else if (QLayout *l = i->layout()) layout(l);
  }

  void layout(QLayout *l) {
    if (auto *form = qobject_cast<QFormLayout *>(l)) {
      for (int r = 0; r < form->rowCount(); ++r)
        for (auto role : {QFormLayout::LabelRole, QFormLayout::FieldRole, QFormLayout::SpanningRole})
          item(form->itemAt(r, role));
      return;
    }
    // A grid goes in the order the window placed its cells: the windows fill a grid of boxes
    // column by column where the boxes stand in columns and row by row where they form rows.
    auto *box = qobject_cast<QBoxLayout *>(l);
    const bool reversed =
        box && (box->direction() == QBoxLayout::RightToLeft || box->direction() == QBoxLayout::BottomToTop);
    const int n = l->count();
    for (int k = 0; k < n; ++k) item(l->itemAt(reversed ? n - 1 - k : k));
  }

  QWidget *window_;
  std::set<QWidget *> seen_;
  std::set<QWidget *> leaves_;
  std::vector<QWidget *> order_;
};

}  // namespace

std::vector<QWidget *> VisualTabOrder(QWidget *window) { return Walker(window).run(); }

void ApplyVisualTabOrder(QWidget *window) {
  const auto order = VisualTabOrder(window);
  for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

}  // namespace n27
