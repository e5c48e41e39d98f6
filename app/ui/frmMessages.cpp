#include "app/ui/frmMessages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QShortcut>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "base/language.h"

namespace n27 {

namespace {

constexpr Tr kTitle{"Messages", "消息"};
constexpr Tr kTime{"Time", "时间"};
constexpr Tr kMessage{"Message", "消息"};
constexpr Tr kCopy{"Copy", "复制"};
constexpr Tr kClear{"Clear", "清除"};
constexpr Tr kCloseList{"Close the Messages list", "关闭消息列表"};

QString qs(const Tr &t) { return QString::fromUtf8(t.get()); }

}  // namespace

frmMessages::frmMessages(MessageLog &log, QWidget *parent) : QDockWidget(parent), log_(log) {
  setObjectName("frmMessages");
  setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
  setAllowedAreas(Qt::BottomDockWidgetArea | Qt::TopDockWidgetArea);
  auto *body = new QWidget;
  list_ = new QTreeWidget;
  list_->setObjectName("ListMessages");
  list_->setColumnCount(2);
  list_->setRootIsDecorated(false);
  list_->setAlternatingRowColors(true);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setUniformRowHeights(true);
  list_->header()->setStretchLastSection(true);
  list_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  copy_ = new QPushButton;
  copy_->setObjectName("CommandCopy");
  clear_ = new QPushButton;
  clear_->setObjectName("CommandClear");
  connect(copy_, &QPushButton::clicked, this, [this] { QApplication::clipboard()->setText(selectedText()); });
  connect(clear_, &QPushButton::clicked, this, [this] { log_.clear(); });
  auto *copyKey = new QShortcut(QKeySequence::Copy, list_);
  copyKey->setContext(Qt::WidgetShortcut);
  connect(copyKey, &QShortcut::activated, copy_, &QPushButton::click);

  auto *buttons = new QVBoxLayout;
  buttons->addWidget(copy_);
  buttons->addWidget(clear_);
  buttons->addStretch(1);
  auto *layout = new QHBoxLayout(body);
  layout->setContentsMargins(4, 0, 4, 4);
  layout->addWidget(list_, 1);
  layout->addLayout(buttons);
  setWidget(body);
  applyLanguage();
  refresh();
}

frmMessages::~frmMessages() = default;

void frmMessages::applyLanguage() {
  setWindowTitle(qs(kTitle));
  list_->setHeaderLabels({qs(kTime), qs(kMessage)});
  copy_->setText(qs(kCopy));
  clear_->setText(qs(kClear));
  // The list's own close button, in the language of the list.
  if (auto *close = findChild<QAbstractButton *>("qt_dockwidget_closebutton")) {
    close->setToolTip(qs(kCloseList));
    close->setAccessibleName(qs(kCloseList));
    close->setAccessibleDescription(qs(kTitle));
  }
}

void frmMessages::refresh() {
  list_->clear();
  QList<QTreeWidgetItem *> items;
  for (const LoggedMessage &m : log_.entries()) {
    const QString text = QString::fromStdString(m.text);
    auto *item = new QTreeWidgetItem({QString::fromStdString(MessageLog::timeText(m.time)), text});
    item->setToolTip(1, text);  // the whole text, however narrow the column
    items << item;
  }
  list_->addTopLevelItems(items);
  if (!items.isEmpty()) list_->scrollToItem(items.back());
}

QString frmMessages::selectedText() const {
  QStringList lines;
  const bool all = list_->selectedItems().isEmpty();
  for (int i = 0; i < list_->topLevelItemCount(); ++i) {
    const QTreeWidgetItem *item = list_->topLevelItem(i);
    if (!all && !item->isSelected()) continue;
    lines << item->text(0) + "  " + item->text(1);
  }
  return lines.join('\n');
}

}  // namespace n27
