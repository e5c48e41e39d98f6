#include "link/ui/FrmBackupList.h"
#include "base/qt/qt_text.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "base/ui/handler_guard.h"
#include "base/ui/prompter.h"
#include "codeplug/bands.h"
#include "link/ui/trust_texts.h"

namespace n27 {

namespace {


constexpr Tr kBackupListTitle{"Restore Radio from Backup", "从备份恢复对讲机"};
constexpr Tr kBackupListFilter{"&Serial number:", "序列号(&S):"};
constexpr Tr kWhen{"Date and Time", "日期和时间"};
constexpr Tr kBackupListReason{"Reason", "原因"};
constexpr Tr kBand{"Band", "频段"};
constexpr Tr kChannels{"Channels", "信道数"};
constexpr Tr kOther{"&Other File...", "其他文件(&O)..."};
constexpr Tr kOk{"&Restore...", "恢复(&R)..."};
constexpr Tr kBackupListCancel{"Cancel", "取消"};
constexpr Tr kUnreadable{"(cannot be read)", "（无法读取）"};
constexpr Tr kNone{"No backup in %1 yet.", "%1 中还没有备份。"};

}  // namespace

FrmBackupList::FrmBackupList(const std::string &folder, QWidget *parent)
    : QDialog(parent), folder_(folder) {
  setObjectName("FrmBackupList");
  setWindowTitle(qs(kBackupListTitle));
  filter_ = new QLineEdit;
  filter_->setObjectName("TextFilter");
  filter_->setClearButtonEnabled(true);
  auto *filterLabel = new QLabel(qs(kBackupListFilter));
  filterLabel->setBuddy(filter_);
  list_ = new QTreeWidget;
  list_->setObjectName("ListBackups");
  list_->setRootIsDecorated(false);
  list_->setAlternatingRowColors(true);
  list_->setSortingEnabled(false);
  list_->header()->setStretchLastSection(false);
  list_->setHeaderLabels({qs(kWhen), qs(trustText::kLogSerial), qs(kBackupListReason), qs(kBand), qs(kChannels)});
  auto *other = new QPushButton(qs(kOther));
  other->setObjectName("CommandOther");
  ok_ = new QPushButton(qs(kOk));
  ok_->setObjectName("CommandOK");
  ok_->setDefault(true);
  auto *cancel = new QPushButton(qs(kBackupListCancel));
  cancel->setObjectName("CommandCancel");

  auto *top = new QHBoxLayout;
  top->addWidget(filterLabel);
  top->addWidget(filter_, 1);
  auto *buttons = new QHBoxLayout;
  buttons->addWidget(other);
  buttons->addStretch(1);
  buttons->addWidget(ok_);
  buttons->addWidget(cancel);
  auto *layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(list_, 1);
  layout->addLayout(buttons);

  connect(filter_, &QLineEdit::textChanged, this, [this] { RunGuarded("FrmBackupList_Filter", [this] { fill(); }); });
  connect(list_, &QTreeWidget::itemSelectionChanged, this,
          [this] { ok_->setEnabled(!list_->selectedItems().isEmpty()); });
  connect(list_, &QTreeWidget::itemActivated, this, [this] { choose(); });
  connect(ok_, &QPushButton::clicked, this, [this] { choose(); });
  connect(other, &QPushButton::clicked, this,
          [this] { RunGuarded("FrmBackupList_Other", [this] { chooseOtherFile(); }); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  all_ = ListBackups(folder_);
  fill();
  resize(720, 420);
}

void FrmBackupList::fill() {
  shown_ = FilterBackups(all_, filter_->text().trimmed().toStdString());
  list_->clear();
  for (const BackupEntry &e : shown_) {
    QStringList cells{qs(e.stamp), qs(e.serial.empty() ? Text(trustText::kUnknownSerial) : e.serial),
                      qs(BackupReasonText(e.reason))};
    if (e.readable)
      cells << qs(BandText(e.bandCode)) << QString::number(e.channels);
    else
      cells << qs(kUnreadable) << QString();
    auto *item = new QTreeWidgetItem(list_, cells);
    item->setTextAlignment(4, Qt::AlignRight | Qt::AlignVCenter);
    item->setToolTip(0, qs(e.path));
  }
  for (int c = 0; c < list_->columnCount(); ++c) {
    list_->resizeColumnToContents(c);
    list_->setColumnWidth(c, list_->columnWidth(c) + 24);
  }
  if (list_->topLevelItemCount() > 0) list_->setCurrentItem(list_->topLevelItem(0));
  ok_->setEnabled(list_->currentItem() != nullptr);
  list_->setToolTip(all_.empty() ? qs(Fill(kNone, {folder_})) : QString());
}

void FrmBackupList::choose() {
  const int row = list_->indexOfTopLevelItem(list_->currentItem());
  if (row < 0 || row >= static_cast<int>(shown_.size())) return;
  chosen_ = qs(shown_[static_cast<std::size_t>(row)].path);
  accept();
}

void FrmBackupList::chooseOtherFile() {
  auto name = CurrentPrompter().openFileName(this, qs(trustText::kImageFilter), qs(folder_));
  if (!name) return;
  chosen_ = *name;
  accept();
}

}  // namespace n27
