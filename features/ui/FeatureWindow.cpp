#include "features/ui/FeatureWindow.h"
#include "base/qt/qt_text.h"

#include "features/setting_undo.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "base/main_window_texts.h"
#include "base/ui/fit_scroll_area.h"
#include "base/ui/tab_order.h"
#include "base/ui/handler_guard.h"
#include "base/ui/pasted_text_filter.h"
#include "base/ui/prompter.h"
#include "channels/channel_context.h"

namespace n27 {

namespace {


// Applies a feature keystroke filter to a text box: a dropped key never reaches the box, a
// changed one (a raised letter) is typed in its place; copy, cut and paste are ignored and
// Enter moves the focus on (unless the box is a grid cell editor, where Enter commits).
class KeyFilterObject : public QObject {
 public:
  KeyFilterObject(QLineEdit *box, features::KeyFilter filter, bool enterMovesOn)
      : QObject(box), box_(box), filter_(filter), enterMovesOn_(enterMovesOn) {
    box->installEventFilter(this);
    box->setContextMenuPolicy(Qt::NoContextMenu);
    box->setDragEnabled(false);
    box->setAcceptDrops(false);
    if (filter) FilterPastedText(box, filter);  // a middle-click paste is filtered as typing is
  }

 protected:
  bool eventFilter(QObject *watched, QEvent *event) override {
    if (watched != box_ || event->type() != QEvent::KeyPress) return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->matches(QKeySequence::Copy) || key->matches(QKeySequence::Paste) ||
        key->matches(QKeySequence::Cut))
      return true;
    if ((key->modifiers() & Qt::ControlModifier) &&
        (key->key() == Qt::Key_C || key->key() == Qt::Key_V || key->key() == Qt::Key_X))
      return true;
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      if (!enterMovesOn_) return false;
      QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
      QCoreApplication::sendEvent(box_, &tab);
      return true;
    }
    const QString text = key->text();
    if (text.isEmpty() || !filter_) return false;
    const auto codes = text.toUcs4();
    if (codes.size() != 1 || codes[0] < 32 || codes[0] == 127) return false;  // editing keys
    const auto taken = filter_(codes[0]);
    if (!taken) return true;
    if (*taken == codes[0]) return false;
    const char32_t c = *taken;
    box_->insert(QString::fromUcs4(&c, 1));
    return true;
  }

 private:
  QLineEdit *box_;
  features::KeyFilter filter_;
  bool enterMovesOn_;
};

// The grid's cell editor: a text box with the grid's keystroke filter and the cell's length.
class CellDelegate : public QStyledItemDelegate {
 public:
  CellDelegate(features::KeyFilter filter, std::function<int(int, int)> maxLength, QObject *parent)
      : QStyledItemDelegate(parent), filter_(filter), maxLength_(std::move(maxLength)) {}

  QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const override {
    auto *box = new QLineEdit(parent);
    box->setObjectName("Text2");
    box->setFrame(false);
    const int most = maxLength_(index.row(), index.column());
    if (most > 0) box->setMaxLength(most);
    new KeyFilterObject(box, filter_, false);
    return box;
  }

 private:
  features::KeyFilter filter_;
  std::function<int(int, int)> maxLength_;
};

// A box that only shows looks like one: the window's background instead of a white field or a
// raised button face.
void ShowOnlyLook(QWidget *box) {
  QPalette p = box->palette();
  p.setColor(QPalette::Base, p.color(QPalette::Window));
  p.setColor(QPalette::Button, p.color(QPalette::Window));
  box->setPalette(p);
}

// A page of label/box pairs in columns; group boxes take a place in the column flow.
struct PageItem {
  QWidget *label = nullptr;  // nullptr: `widget` spans the row (check box, group box)
  QWidget *widget = nullptr;
  int weight = 1;
  int order = 0;  // list and text boxes first, then group boxes, then check boxes
};

void LayOutColumns(QWidget *page, const std::vector<PageItem> &items, int columns, int checkColumns) {
  std::vector<PageItem> sorted = items;
  std::stable_sort(sorted.begin(), sorted.end(), [](const PageItem &a, const PageItem &b) { return a.order < b.order; });
  // The loose check boxes side by side, `checkColumns` to a row, filled column by column.
  QGridLayout *checks = nullptr;
  if (checkColumns > 1) {
    std::vector<PageItem> boxes;
    for (const auto &i : sorted)
      if (i.order == 2) boxes.push_back(i);
    if (boxes.size() > 1) {
      sorted.erase(std::remove_if(sorted.begin(), sorted.end(), [](const PageItem &i) { return i.order == 2; }),
                   sorted.end());
      checks = new QGridLayout;
      const int rows = static_cast<int>((boxes.size() + static_cast<std::size_t>(checkColumns) - 1) /
                                        static_cast<std::size_t>(checkColumns));
      for (std::size_t k = 0; k < boxes.size(); ++k)
        checks->addWidget(boxes[k].widget, static_cast<int>(k) % rows, static_cast<int>(k) / rows);
      sorted.push_back(PageItem{nullptr, nullptr, rows, 2});
    }
  }
  auto *row = new QHBoxLayout;
  int total = 0;
  for (const auto &i : sorted) total += i.weight;
  columns = std::max(1, columns);
  const int perColumn = (total + columns - 1) / columns;
  QFormLayout *form = nullptr;
  int used = perColumn;
  for (const auto &i : sorted) {
    // A new column where this item would make the current one longer than its share.
    if ((used >= perColumn || (used > 0 && used + i.weight > perColumn)) && row->count() < columns) {
      form = new QFormLayout;
      form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
      row->addLayout(form, 1);
      used = 0;
    }
    if (i.label)
      form->addRow(i.label, i.widget);
    else if (i.widget)
      form->addRow(i.widget);
    else
      form->addRow(checks);
    used += i.weight;
  }
  auto *outer = qobject_cast<QVBoxLayout *>(page->layout());
  if (!outer) outer = new QVBoxLayout(page);
  outer->addLayout(row);
  outer->addStretch(1);
}

}  // namespace

FeatureWindow::FeatureWindow(const features::Area &area, ChannelContext &channels, FeatureLayout layout,
                             std::function<void(int)> showHelp, QWidget *parent)
    : QWidget(parent),
      area_(area),
      context_(std::make_unique<features::FeatureContext>(channels)),
      layout_(std::move(layout)),
      showHelp_(std::move(showHelp)) {
  setObjectName(qs(area.window));
  // The Alert Locked clean-up changes key codes: an open Key Setting window shows them again.
  context_->keysChanged = [] { RefreshOpenWindows(window::kKeySetting); };
  build();
  setCaptions();
  refresh();
  // The body's size is known now that captions and lists are in (the window is not shown yet,
  // so nothing has told its layout). Every tab page is measured as the style will show it: a
  // page not shown yet would report its size before the style polished it, and open cut.
  ensurePolished();
  for (QLayout *l : findChildren<QLayout *>()) l->invalidate();
  if (auto *body = findChild<FitScrollArea *>()) body->updateGeometry();
  QWidget::layout()->invalidate();
  // An undo or redo may change any setting: show them again.
  context_->channels.addListener(this);
}

FeatureWindow::~FeatureWindow() {
  context_->channels.removeListener(this);
  // What is typed into a box is kept when the window closes, as when the box loses the focus;
  // then a box losing the focus while the window goes away must not store into a half
  // destroyed window.
  storePendingInput();
  for (QObject *child : findChildren<QObject *>()) child->disconnect(this);
}

void FeatureWindow::RefreshOpenWindows(const QString &windowName) {
  for (QWidget *w : QApplication::allWidgets())
    if (auto *f = qobject_cast<FeatureWindow *>(w); f && f->objectName() == windowName) f->refresh();
}

void FeatureWindow::build() {
  for (const auto &s : area_.settings) {
    if (s.row > 0 && s.column > 0)
      cells_.push_back(&s);
    else {
      Control c;
      c.setting = &s;
      controls_.push_back(c);
    }
  }

  // The settings sit in a body that scrolls when the main window is too small for them; the
  // buttons stay in sight below it.
  auto *outer = new QVBoxLayout(this);
  auto *body = new QWidget;
  body->setObjectName("Body");
  auto *inner = new QVBoxLayout(body);
  inner->setContentsMargins(0, 0, 0, 0);
  bool hasTabs = std::any_of(layout_.sections.begin(), layout_.sections.end(), [](auto &s) { return s.tab; });
  QWidget *firstPage = new QWidget;
  QWidget *page = firstPage;
  if (hasTabs) {
    tabs_ = new QTabWidget(body);
    tabs_->setObjectName("SSTab1");
    inner->addWidget(tabs_);
  } else {
    inner->addWidget(firstPage);
  }

  // Which section each control belongs to.
  std::map<std::string, std::size_t> sectionOf;
  for (std::size_t i = 0; i < layout_.sections.size(); ++i)
    for (const auto &name : layout_.sections[i].controls) sectionOf[name] = i;

  std::vector<std::vector<PageItem>> pages;  // items per page, in the order of the pages
  std::vector<QWidget *> pageWidgets;
  auto pageIndexOf = [&](QWidget *p) {
    for (std::size_t i = 0; i < pageWidgets.size(); ++i)
      if (pageWidgets[i] == p) return i;
    pageWidgets.push_back(p);
    pages.emplace_back();
    return pageWidgets.size() - 1;
  };
  pageIndexOf(firstPage);
  std::map<std::size_t, QFormLayout *> groupForms;

  // Tab pages and group boxes, in the order the sections are listed.
  std::vector<QWidget *> sectionWidget(layout_.sections.size(), nullptr);
  std::vector<QWidget *> sectionPage(layout_.sections.size(), nullptr);
  bool firstTab = true;
  for (std::size_t i = 0; i < layout_.sections.size(); ++i) {
    const auto &sec = layout_.sections[i];
    if (sec.tab) {
      page = firstTab ? firstPage : new QWidget;
      firstTab = false;
      tabs_->addTab(page, QString());
      captions_.emplace_back(page, sec.title);
      pageIndexOf(page);
      sectionWidget[i] = page;
      sectionPage[i] = page;
      if (sec.grid) {
        grid_ = new QTableWidget(page);
        auto *l = new QVBoxLayout(page);
        l->addWidget(grid_);
      }
    } else {
      auto *box = new QGroupBox;
      box->setObjectName(QString("Frame%1").arg(i + 1));
      captions_.emplace_back(box, sec.title);
      groupForms[i] = new QFormLayout(box);
      sectionWidget[i] = box;
      sectionPage[i] = page;
    }
  }

  for (auto &c : controls_) {
    QWidget *box = makeControl(c);
    auto it = sectionOf.find(c.setting->control);
    if (it == sectionOf.end()) {
      pages[0].push_back(PageItem{c.label, box, 1, c.check ? 2 : 0});
    } else if (auto g = groupForms.find(it->second); g != groupForms.end()) {
      // A group box takes the place of its first control in the page's flow.
      if (g->second->rowCount() == 0)
        pages[pageIndexOf(sectionPage[it->second])].push_back(
            PageItem{nullptr, sectionWidget[it->second],
                     static_cast<int>(layout_.sections[it->second].controls.size()) + 1, 1});
      if (c.label)
        g->second->addRow(c.label, box);
      else
        g->second->addRow(box);
    } else {
      pages[pageIndexOf(sectionPage[it->second])].push_back(PageItem{c.label, box, 1, c.check ? 2 : 0});
    }
  }
  // A group none of whose controls is in this window is not shown.
  for (auto &[i, form] : groupForms) {
    if (form->rowCount() > 0) continue;
    QWidget *unused = sectionWidget[i];
    captions_.erase(std::remove_if(captions_.begin(), captions_.end(), [unused](auto &p) { return p.first == unused; }),
                    captions_.end());
    delete unused;
  }
  for (std::size_t i = 0; i < pageWidgets.size(); ++i)
    if (!pages[i].empty()) LayOutColumns(pageWidgets[i], pages[i], layout_.columns, layout_.checkColumns);

  if (!cells_.empty()) {
    if (!grid_) {
      grid_ = new QTableWidget(body);
      inner->addWidget(grid_);
    }
    grid_->setObjectName("MSFlexGrid1");
    int rows = 0, columns = 0;
    for (const auto *s : cells_) {
      rows = std::max(rows, s->row);
      columns = std::max(columns, s->column);
    }
    // The first column is the fixed "No." column with the row numbers 1, 2, …; the cells of
    // the settings follow it (a setting's column 1 is the grid's column 1).
    grid_->setRowCount(rows);
    grid_->setColumnCount(columns + 1);
    grid_->verticalHeader()->hide();
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::AllEditTriggers);
    grid_->horizontalHeader()->setStretchLastSection(true);
    grid_->verticalHeader()->setDefaultSectionSize(grid_->fontMetrics().height() + 8);
    grid_->setMinimumHeight((grid_->fontMetrics().height() + 8) * 9 + 4);
    grid_->setItemDelegate(new CellDelegate(
        layout_.gridFilter,
        [this](int row, int column) {
          for (const auto *s : cells_)
            if (s->row == row + 1 && s->column == column) return s->view(context_->ws).maxLength;
          return 0;
        },
        grid_));
    for (int r = 0; r < rows; ++r) {
      auto *number = new QTableWidgetItem(QString::number(r + 1));
      number->setFlags(Qt::ItemIsEnabled);
      number->setTextAlignment(Qt::AlignCenter);
      number->setBackground(grid_->palette().brush(QPalette::Button));
      grid_->setItem(r, 0, number);
      for (int c = 1; c <= columns; ++c) grid_->setItem(r, c, new QTableWidgetItem);
    }
    grid_->resizeColumnToContents(0);
    connect(grid_, &QTableWidget::cellChanged, this, [this](int row, int column) {
      if (!busy_) commitCell(row, column);
    });
  }

  outer->addWidget(new FitScrollArea(body, this), 1);

  auto *buttons = new QHBoxLayout;
  buttons->addStretch(1);
  if (showHelp_ && layout_.helpContext > 0) {
    help_ = new QPushButton(this);
    help_->setObjectName("CommandHelp");
    connect(help_, &QPushButton::clicked, this, [this] {
      RunHandler(this, "CommandHelp_Click", [this] { showHelp_(layout_.helpContext); });
    });
    buttons->addWidget(help_);
  }
  close_ = new QPushButton(this);
  close_->setObjectName("CommandClose");
  connect(close_, &QPushButton::clicked, this, [this] {
    RunHandler(this, "CommandClose_Click", [this] {
      storePendingInput();
      if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
      else
        window()->close();
    });
  });
  buttons->addWidget(close_);
  outer->addLayout(buttons);
  ApplyVisualTabOrder(this);
}

QWidget *FeatureWindow::makeControl(Control &c) {
  const auto &s = *c.setting;
  const QString name = qs(s.control);
  const QString handler = name + (s.kind == features::SettingKind::Text ? "_LostFocus" : "_Click");
  const std::size_t index = static_cast<std::size_t>(&c - controls_.data());
  if (s.kind != features::SettingKind::Check) {
    c.label = new QLabel(this);
    c.label->setObjectName("Label_" + name);
  }
  switch (s.kind) {
    case features::SettingKind::List: {
      c.combo = new QComboBox(this);
      c.combo->setObjectName(name);
      connect(c.combo, &QComboBox::activated, this, [this, index, handler](int i) {
        const auto &ctl = controls_[index];
        choose(*ctl.setting, ctl.combo->itemText(i).toStdString(), handler);
      });
      c.label->setBuddy(c.combo);
      if (!s.choose) ShowOnlyLook(c.combo);
      return c.combo;
    }
    case features::SettingKind::Check:
      c.check = new QCheckBox(this);
      c.check->setObjectName(name);
      connect(c.check, &QCheckBox::clicked, this, [this, index, handler](bool ticked) {
        choose(*controls_[index].setting, ticked ? "1" : "0", handler);
      });
      return c.check;
    case features::SettingKind::Text: {
      c.edit = new QLineEdit(this);
      c.edit->setObjectName(name);
      c.edit->setReadOnly(!s.choose);
      if (!s.choose) ShowOnlyLook(c.edit);
      auto f = layout_.filters.find(s.control);
      new KeyFilterObject(c.edit, f == layout_.filters.end() ? nullptr : f->second, true);
      connect(c.edit, &QLineEdit::editingFinished, this, [this, index] { commitText(controls_[index]); });
      c.label->setBuddy(c.edit);
      return c.edit;
    }
  }
  return nullptr;
}

void FeatureWindow::setCaptions() {
  setWindowTitle(qs(area_.caption));
  for (auto &c : controls_) {
    const auto own = layout_.labels.find(c.setting->control);
    const QString text = qs(own == layout_.labels.end() ? c.setting->label : own->second);
    if (c.label) {
      c.label->setText(text);
      c.label->setWordWrap(text.size() > 32);  // the longest captions take two lines
    }
    if (c.check) c.check->setText(text);
  }
  for (auto &[w, title] : captions_) {
    if (auto *box = qobject_cast<QGroupBox *>(w))
      box->setTitle(qs(title));
    else if (tabs_)
      tabs_->setTabText(tabs_->indexOf(w), qs(title));
  }
  if (grid_) {
    QStringList headers{qs(layout_.gridNumber)};
    for (int c = 1; c < grid_->columnCount(); ++c)
      headers << (c <= static_cast<int>(layout_.gridColumns.size())
                      ? qs(layout_.gridColumns[static_cast<std::size_t>(c - 1)])
                      : QString());
    grid_->setHorizontalHeaderLabels(headers);
    grid_->resizeColumnToContents(0);
  }
  if (help_) help_->setText(qs(mainText::kHelpButton));
  close_->setText(qs(mainText::kClose));
}

void FeatureWindow::refresh() {
  RunHandler(this, "SetShowData", [this] {
    const bool wasBusy = busy_;
    busy_ = true;
    if (layout_.beforeShowing) layout_.beforeShowing(*context_);
    for (auto &c : controls_) showControl(c);
    showGrid();
    busy_ = wasBusy;
  });
}

void FeatureWindow::showControl(Control &c) {
  const features::SettingView v = c.setting->view(context_->ws);
  // A list shown only stays readable: a pick in it is undone by showing the value again.
  const bool enabled = v.enabled && (c.combo || static_cast<bool>(c.setting->choose));
  if (c.label) c.label->setEnabled(v.enabled);
  if (c.combo) {
    const QSignalBlocker block(c.combo);
    if (v.entries != c.entries) {  // long lists (0 … 6000) are filled only when they change
      c.combo->clear();
      // Wide enough for its longest entry; a list that is empty for now keeps a usable size.
      const QFontMetrics metrics = c.combo->fontMetrics();
      int widest = metrics.horizontalAdvance(QStringLiteral("Channel-000"));
      QStringList items;
      for (const auto &e : v.entries) {
        items << qs(e);
        widest = std::max(widest, metrics.horizontalAdvance(items.back()));
      }
      c.combo->addItems(items);
      c.combo->setMinimumWidth(std::max(c.combo->minimumWidth(), widest + 36));
      c.entries = v.entries;
    }
    c.combo->setCurrentIndex(v.shown);
    c.combo->setEnabled(enabled);
  } else if (c.check) {
    const QSignalBlocker block(c.check);
    c.check->setChecked(v.checked);
    c.check->setEnabled(enabled);
  } else if (c.edit) {
    const QSignalBlocker block(c.edit);
    c.edit->setMaxLength(v.maxLength > 0 ? v.maxLength : 32767);
    // Wide enough for what the box takes (a message line: 32 characters).
    const int chars = std::clamp(v.maxLength > 0 ? v.maxLength : 16, 6, 34);
    c.edit->setMinimumWidth(c.edit->fontMetrics().horizontalAdvance(QString(chars, QChar('M'))) * 3 / 4 + 12);
    c.edit->setText(qs(v.text));
    c.edit->setEnabled(v.enabled);
  }
  c.shown = v.text;
}

void FeatureWindow::showGrid() {
  if (!grid_) return;
  const QSignalBlocker block(grid_);
  for (const auto *s : cells_) {
    const auto v = s->view(context_->ws);
    if (QTableWidgetItem *item = grid_->item(s->row - 1, s->column)) {
      item->setText(qs(v.text));
      Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
      if (s->choose && v.enabled) flags |= Qt::ItemIsEditable;
      item->setFlags(flags);
    }
  }
}

void FeatureWindow::choose(const features::Setting &setting, const std::string &text, const QString &handler) {
  if (busy_) return;
  busy_ = true;
  RunHandler(this, handler, [&] {
    features::ChooseResult result;
    if (setting.choose) result = features::ChooseSetting(*context_, area_, setting, text);
    // Show the stored values first so the box under the message already holds what was kept.
    busy_ = false;
    refresh();
    busy_ = true;
    if (!result.message.empty())
      ShowMessage(this, qs(result.message), result.ok() ? BoxIcon::Information : BoxIcon::Critical);
  });
  busy_ = false;
}

void FeatureWindow::commitText(Control &c) {
  if (busy_ || !c.edit || !c.setting->choose) return;
  const std::string text = c.edit->text().toStdString();
  if (text == c.shown) return;
  choose(*c.setting, text, qs(c.setting->control) + "_LostFocus");
}

void FeatureWindow::commitCell(int row, int column) {
  for (const auto *s : cells_)
    if (s->row == row + 1 && s->column == column) {
      const QTableWidgetItem *item = grid_->item(row, column);
      choose(*s, item ? item->text().toStdString() : std::string(), "MSFlexGrid1_LeaveCell");
      return;
    }
}

void FeatureWindow::storePendingInput() {
  if (grid_) {
    // Leaving the cell commits an open cell editor.
    if (grid_->currentIndex().isValid()) grid_->setCurrentIndex(QModelIndex());
  }
  for (auto &c : controls_)
    if (c.edit && c.edit->isEnabled()) commitText(c);
}

}  // namespace n27
