#include "app/ui/frmMessages.h"
#include "base/qt/qt_text.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

#include "base/language.h"

namespace n27 {

namespace {

constexpr Tr kMessagesTitle{"Messages", "消息"};
constexpr Tr kMessagesTime{"Time", "时间"};
constexpr Tr kMessagesMessage{"Message", "消息"};
constexpr Tr kCopy{"Copy", "复制"};
constexpr Tr kClear{"Clear", "清除"};
constexpr Tr kCloseList{"Close the Messages list", "关闭消息列表"};


// The text as the list shows it: a long path may break after each "/" (a zero-width space).
QString wrappable(QString text) { return text.replace('/', QStringLiteral("/\u200B")); }

}  // namespace

frmMessages::frmMessages(MessageLog &log, QWidget *parent) : QDockWidget(parent), log_(log) {
  setObjectName("frmMessages");
  setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
  setAllowedAreas(Qt::BottomDockWidgetArea | Qt::TopDockWidgetArea);
  auto *body = new QWidget;
  list_ = new QTableWidget(0, 2);
  list_->setObjectName("ListMessages");
  list_->verticalHeader()->hide();
  list_->setShowGrid(false);
  list_->setAlternatingRowColors(true);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  // A long message (a backup's place) wraps onto further lines: it is read whole.
  list_->setWordWrap(true);
  list_->setTextElideMode(Qt::ElideNone);
  list_->horizontalHeader()->setStretchLastSection(true);
  list_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  list_->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  // The lines wrap again when the list gets wider or narrower.
  connect(list_->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int section) {
    if (section == 1) list_->resizeRowsToContents();
  });
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
  setWindowTitle(qs(kMessagesTitle));
  list_->setHorizontalHeaderLabels({qs(kMessagesTime), qs(kMessagesMessage)});
  copy_->setText(qs(kCopy));
  clear_->setText(qs(kClear));
  // The list's own close button, in the language of the list.
  if (auto *close = findChild<QAbstractButton *>("qt_dockwidget_closebutton")) {
    close->setToolTip(qs(kCloseList));
    close->setAccessibleName(qs(kCloseList));
    close->setAccessibleDescription(qs(kMessagesTitle));
  }
}

void frmMessages::refresh() {
  const auto &entries = log_.entries();
  list_->setRowCount(static_cast<int>(entries.size()));
  for (int row = 0; row < static_cast<int>(entries.size()); ++row) {
    const LoggedMessage &m = entries[static_cast<std::size_t>(row)];
    const QString text = QString::fromStdString(m.text);
    auto *time = new QTableWidgetItem(QString::fromStdString(MessageLog::timeText(m.time)));
    time->setTextAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *message = new QTableWidgetItem(wrappable(text));
    message->setTextAlignment(Qt::AlignLeft | Qt::AlignTop);
    message->setToolTip(text);
    list_->setItem(row, 0, time);
    list_->setItem(row, 1, message);
  }
  list_->resizeRowsToContents();
  if (!entries.empty()) list_->scrollToBottom();
}

QString frmMessages::selectedText() const {
  // Each line of the list is the message of the log at its place.
  QStringList lines;
  const bool all = list_->selectedItems().isEmpty();
  const auto &entries = log_.entries();
  for (int i = 0; i < list_->rowCount() && i < static_cast<int>(entries.size()); ++i) {
    if (!all && !(list_->item(i, 1) && list_->item(i, 1)->isSelected())) continue;
    lines << QString::fromStdString(MessageLog::lineText(entries[static_cast<std::size_t>(i)]));
  }
  return lines.join('\n');
}

}  // namespace n27
