#include "base/ui/accessible_names.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QBoxLayout>
#include <QComboBox>
#include <QDockWidget>
#include <QEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextEdit>

#include "base/main_window_texts.h"

namespace n27 {

namespace {

// What this file set, so that a later run replaces its own names but never a window's own.
constexpr const char *kAutoName = "n27AutoName";
constexpr const char *kAutoDescription = "n27AutoDescription";
constexpr const char *kNamedCells = "n27NamedCells";

QLabel *asLabel(QWidget *w) {
  auto *label = qobject_cast<QLabel *>(w);
  return label && !PlainLabel(label->text()).isEmpty() ? label : nullptr;
}

// The label a control stands beside: its buddy, its form row, or the label just before it in
// its box or grid row.
QLabel *labelBeside(QWidget *w, const QWidget *window) {
  for (QLabel *l : window->findChildren<QLabel *>())
    if (l->buddy() == w && !PlainLabel(l->text()).isEmpty()) return l;
  for (const QLayout *layout : window->findChildren<QLayout *>()) {
    const int at = layout->indexOf(w);
    if (at < 0) continue;
    if (auto *form = qobject_cast<const QFormLayout *>(layout)) {
      return asLabel(form->labelForField(w));
    } else if (auto *grid = qobject_cast<const QGridLayout *>(layout)) {
      int row = 0, col = 0, rows = 0, cols = 0;
      grid->getItemPosition(at, &row, &col, &rows, &cols);
      for (int c = col - 1; c >= 0; --c) {
        QLayoutItem *item = grid->itemAtPosition(row, c);
        if (item && item->widget()) return asLabel(item->widget());
      }
    } else if (auto *box = qobject_cast<const QBoxLayout *>(layout)) {
      for (int k = at - 1; k >= 0; --k) {
        QLayoutItem *item = box->itemAt(k);
        if (!item->spacerItem()) return asLabel(item->widget());
      }
    }
    return nullptr;
  }
  return nullptr;
}

// Window › tab › group: where a control is, for its description.
QString location(const QWidget *w, const QWidget *window) {
  QStringList parts;
  for (const QWidget *p = w->parentWidget(); p && p != window; p = p->parentWidget()) {
    if (auto *group = qobject_cast<const QGroupBox *>(p); group && !group->title().isEmpty())
      parts.prepend(PlainLabel(group->title()));
    if (auto *stack = p->parentWidget())
      if (auto *tabs = qobject_cast<const QTabWidget *>(stack->parentWidget()))
        if (int i = tabs->indexOf(const_cast<QWidget *>(p)); i >= 0) parts.prepend(PlainLabel(tabs->tabText(i)));
    if (auto *dock = qobject_cast<const QDockWidget *>(p)) parts.prepend(PlainLabel(dock->windowTitle()));
  }
  const QString title = PlainLabel(window->windowTitle());
  if (!title.isEmpty()) parts.prepend(title);
  return parts.join(QStringLiteral(" \u203A "));
}

QString ownName(QWidget *w, const QWidget *window) {
  if (auto *button = qobject_cast<const QAbstractButton *>(w)) {
    if (QString t = PlainLabel(button->text()); !t.isEmpty()) return t;
  }
  if (QLabel *label = labelBeside(w, window)) {
    // A screen reader on Linux takes a list box's label from its buddy: the label beside it
    // becomes its buddy (unless it has one, or an Alt key that would then move elsewhere).
    if (!label->buddy() && !label->text().contains('&')) label->setBuddy(w);
    return PlainLabel(label->text());
  }
  if (auto *tabBar = qobject_cast<const QTabBar *>(w)) {
    QStringList tabs;
    for (int i = 0; i < tabBar->count(); ++i) tabs << PlainLabel(tabBar->tabText(i));
    if (!tabs.isEmpty()) return tabs.join(" / ");
  }
  for (const QWidget *p = w->parentWidget(); p && p != window; p = p->parentWidget())
    if (auto *group = qobject_cast<const QGroupBox *>(p); group && !group->title().isEmpty())
      return PlainLabel(group->title());
  if (auto *edit = qobject_cast<const QLineEdit *>(w); edit && !edit->placeholderText().isEmpty())
    return edit->placeholderText();
  if (!w->toolTip().isEmpty()) return PlainLabel(w->toolTip());
  if (qobject_cast<const QAbstractItemView *>(w) || qobject_cast<const QProgressBar *>(w))
    return PlainLabel(window->windowTitle());
  return {};
}

// Sets a name or description unless the window set one of its own.
void setAuto(QWidget *w, const char *mark, const QString &text, bool name) {
  const QString now = name ? w->accessibleName() : w->accessibleDescription();
  if (!now.isEmpty() && now != w->property(mark).toString()) return;  // the window's own
  if (text == now) return;
  w->setProperty(mark, text);
  if (name) w->setAccessibleName(text);
  else w->setAccessibleDescription(text);
}

QString headerText(const QTableWidget *t, int column) {
  const QTableWidgetItem *h = t->horizontalHeaderItem(column);
  return h ? PlainLabel(h->text()).replace('\n', ' ') : QString();
}

void nameCell(QTableWidget *table, QTableWidgetItem *item) {
  if (!item) return;
  const int row = item->row(), column = item->column();
  // The row's caption: the first column's caption and the row number ("CH 5", "No. 3").
  const QString first = headerText(table, 0);
  const QString rowCaption = (first.isEmpty() ? QString() : first + " ") + QString::number(row + 1);
  const QString columnCaption = headerText(table, column);
  QString name = column == 0 ? rowCaption : rowCaption + ", " + columnCaption;
  if (column > 0 && !item->text().isEmpty()) name += ": " + item->text();
  else if (column == 0 && !item->toolTip().isEmpty()) name += ", " + item->toolTip();  // a change mark
  if (item->data(Qt::AccessibleTextRole).toString() != name) item->setData(Qt::AccessibleTextRole, name);
  if (item->data(Qt::AccessibleDescriptionRole).toString() != columnCaption)
    item->setData(Qt::AccessibleDescriptionRole, columnCaption);
}

void nameAllCells(QTableWidget *table) {
  for (int r = 0; r < table->rowCount(); ++r)
    for (int c = 0; c < table->columnCount(); ++c) nameCell(table, table->item(r, c));
}

}  // namespace

QString PlainLabel(const QString &caption) {
  QString s = QString::fromStdString(mainText::PlainCaption(caption.toStdString())).trimmed();
  while (s.endsWith(':') || s.endsWith(QChar(0xFF1A))) s.chop(1);
  return s.trimmed();
}

bool IsNamedControl(const QWidget *w) {
  if (!w || w->isWindow()) return false;
  // The text box of a list or a number box is that box's part.
  if (qobject_cast<const QComboBox *>(w->parentWidget()) || qobject_cast<const QAbstractSpinBox *>(w->parentWidget()))
    return false;
  if (qobject_cast<const QScrollBar *>(w)) return false;
  return qobject_cast<const QAbstractButton *>(w) || qobject_cast<const QComboBox *>(w) ||
         qobject_cast<const QLineEdit *>(w) || qobject_cast<const QAbstractSpinBox *>(w) ||
         qobject_cast<const QAbstractItemView *>(w) || qobject_cast<const QTextEdit *>(w) ||
         qobject_cast<const QPlainTextEdit *>(w) || qobject_cast<const QAbstractSlider *>(w) ||
         qobject_cast<const QTabBar *>(w) || qobject_cast<const QProgressBar *>(w);
}

void NameControls(QWidget *window) {
  if (!window) return;
  for (QWidget *w : window->findChildren<QWidget *>()) {
    if (!IsNamedControl(w)) continue;
    // A window inside this one (an MDI child, a docked list) names its own controls.
    const QWidget *root = w->parentWidget();
    while (root && root != window && !qobject_cast<const QMdiSubWindow *>(root) &&
           !qobject_cast<const QDockWidget *>(root) && !root->isWindow())
      root = root->parentWidget();
    const QWidget *named = root && root != window ? root : window;
    if (auto *sub = qobject_cast<const QMdiSubWindow *>(named); sub && sub->widget()) named = sub->widget();
    if (!qobject_cast<const QAbstractButton *>(w) || PlainLabel(static_cast<QAbstractButton *>(w)->text()).isEmpty())
      setAuto(w, kAutoName, ownName(w, named), true);
    const QString where = location(w, named);
    setAuto(w, kAutoDescription, w->toolTip().isEmpty() ? where : PlainLabel(w->toolTip()), false);
    if (auto *table = qobject_cast<QTableWidget *>(w)) NameTableCells(table);
    // A tab's description is its tooltip: where the tab is, unless it has a tooltip of its own.
    if (auto *tabs = qobject_cast<QTabBar *>(w))
      for (int i = 0; i < tabs->count(); ++i)
        if (tabs->tabToolTip(i).isEmpty() || tabs->tabToolTip(i) == tabs->property(kAutoDescription).toString())
          tabs->setTabToolTip(i, where);
  }
}

void NameTableCells(QTableWidget *table) {
  if (!table) return;
  nameAllCells(table);
  if (table->property(kNamedCells).toBool()) return;
  table->setProperty(kNamedCells, true);
  QObject::connect(table->model(), &QAbstractItemModel::dataChanged, table,
                   [table](const QModelIndex &from, const QModelIndex &to, const QList<int> &roles) {
                     if (!roles.isEmpty() && !roles.contains(Qt::DisplayRole) && !roles.contains(Qt::EditRole) &&
                         !roles.contains(Qt::ToolTipRole))
                       return;
                     for (int r = from.row(); r <= to.row(); ++r)
                       for (int c = from.column(); c <= to.column(); ++c) nameCell(table, table->item(r, c));
                   });
  QObject::connect(table->model(), &QAbstractItemModel::headerDataChanged, table,
                   [table] { nameAllCells(table); });
}

AccessibleNamer::AccessibleNamer(QObject *parent) : QObject(parent) {
  QCoreApplication::instance()->installEventFilter(this);
}

AccessibleNamer::~AccessibleNamer() {
  if (QCoreApplication::instance()) QCoreApplication::instance()->removeEventFilter(this);
}

bool AccessibleNamer::eventFilter(QObject *watched, QEvent *event) {
  if (event->type() != QEvent::Show) return false;
  auto *w = qobject_cast<QWidget *>(watched);
  if (w && (w->isWindow() || qobject_cast<QMdiSubWindow *>(w->parentWidget()) || qobject_cast<QDockWidget *>(w)))
    NameControls(w);
  return false;
}

}  // namespace n27
