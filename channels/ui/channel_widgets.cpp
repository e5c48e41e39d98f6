#include "channels/ui/channel_widgets.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QSignalBlocker>

#include "channels/grid_rows.h"

namespace n27 {

void PrepareListBox(QComboBox *box, bool editable) {
  box->setEditable(editable);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->setMaxVisibleItems(20);
  box->setFocusPolicy(Qt::StrongFocus);
  if (editable) {
    box->setCompleter(nullptr);
    box->lineEdit()->setContextMenuPolicy(Qt::NoContextMenu);
  }
}

void FillList(QComboBox *box, const std::vector<std::string> &entries) {
  const QSignalBlocker block(box);
  QStringList items;
  items.reserve(static_cast<int>(entries.size()));
  for (const auto &e : entries) items << QString::fromStdString(e);
  bool same = box->count() == items.size();
  for (int i = 0; same && i < items.size(); ++i) same = box->itemText(i) == items[i];
  if (same) return;
  const QString shown = box->currentText();
  box->clear();
  box->addItems(items);
  ShowListText(box, shown);
}

void ShowListText(QComboBox *box, const QString &text) {
  const QSignalBlocker block(box);
  const int index = box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
  box->setCurrentIndex(index);
  if (box->isEditable()) {
    box->setEditText(text);
  } else if (index < 0) {
    box->setPlaceholderText(text.isEmpty() ? QStringLiteral(" ") : text);
  }
}

QString ListText(const QComboBox *box) {
  if (box->isEditable() || box->currentIndex() >= 0) return box->currentText();
  return box->placeholderText();
}

namespace {
bool filterKey(const QKeyEvent *key, bool (*passes)(char32_t)) {
  if (key->matches(QKeySequence::Cut) || key->matches(QKeySequence::Copy) ||
      key->matches(QKeySequence::Paste))
    return true;
  for (QChar c : key->text())
    if (!passes(c.unicode())) return true;
  return false;
}
}  // namespace

bool FilterFrequencyKey(const QKeyEvent *key) { return filterKey(key, FrequencyKeyPasses); }
bool FilterDigitKey(const QKeyEvent *key) { return filterKey(key, DigitKeyPasses); }

bool StepListWithoutChoosing(QComboBox *box, const QKeyEvent *key) {
  if (key->modifiers() & Qt::AltModifier) return false;
  int step = 0;
  switch (key->key()) {
    case Qt::Key_Up: step = -1; break;
    case Qt::Key_Down: step = 1; break;
    case Qt::Key_PageUp: step = -10; break;
    case Qt::Key_PageDown: step = 10; break;
    default: return false;
  }
  if (box->count() == 0) return true;
  int index = box->currentIndex() < 0 ? (step > 0 ? -1 : box->count()) : box->currentIndex();
  index = std::clamp(index + step, 0, box->count() - 1);
  box->setCurrentIndex(index);
  return true;
}

void KeepInsideChildArea(QWidget *window) {
  auto *sub = qobject_cast<QMdiSubWindow *>(window->parentWidget());
  if (!sub || !sub->parentWidget()) return;
  const QRect area = sub->parentWidget()->rect();
  QRect r = sub->geometry();
  // The size the window asks for, with the child window's frame around it.
  const QSize frame = sub->size() - window->size();
  r.setSize((window->sizeHint() + frame).expandedTo(r.size()).boundedTo(area.size()));
  if (r.right() > area.right()) r.moveRight(area.right());
  if (r.bottom() > area.bottom()) r.moveBottom(area.bottom());
  if (r.left() < area.left()) r.moveLeft(area.left());
  if (r.top() < area.top()) r.moveTop(area.top());
  sub->setGeometry(r);
}

}  // namespace n27
