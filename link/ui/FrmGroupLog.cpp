#include "link/ui/FrmGroupLog.h"
#include "base/qt/qt_text.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <ctime>

#include "link/ui/trust_texts.h"

namespace n27 {

namespace {


QString localTime(std::time_t t) {
  std::tm local{};
  localtime_r(&t, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return QString::fromLatin1(text);
}

}  // namespace

FrmGroupLog::FrmGroupLog(const std::vector<GroupWriteEntry> &entries, const QString &savedText,
                         QWidget *parent)
    : QDialog(parent) {
  setObjectName("FrmGroupLog");
  setWindowTitle(qs(trustText::kGroupLogTitle));
  list_ = new QTreeWidget;
  list_->setObjectName("ListLog");
  list_->setRootIsDecorated(false);
  list_->setAlternatingRowColors(true);
  list_->setColumnCount(4);
  list_->setHeaderLabels({qs(trustText::kLogNumber), qs(trustText::kLogSerial),
                          qs(trustText::kLogTime), qs(trustText::kLogResult)});
  int written = 0;
  for (const GroupWriteEntry &e : entries) {
    QString result = qs(e.success ? trustText::kLogOk : trustText::kLogFailed);
    if (!e.result.empty()) result += " - " + qs(e.result).replace('\n', ' ');
    auto *item = new QTreeWidgetItem(
        list_, {QString::number(e.number), e.serial.empty() ? qs(trustText::kUnknownSerial) : qs(e.serial),
                localTime(e.time), result});
    item->setTextAlignment(0, Qt::AlignRight | Qt::AlignVCenter);
    if (!e.success)
      for (int c = 0; c < 4; ++c) item->setForeground(c, QColor(0xB0, 0x00, 0x00));
    if (e.success) ++written;
  }
  for (int c = 0; c < 4; ++c) {
    list_->resizeColumnToContents(c);
    list_->setColumnWidth(c, list_->columnWidth(c) + 20);
  }
  const int failed = static_cast<int>(entries.size()) - written;
  totals_ = new QLabel;
  totals_->setObjectName("LabelTotals");
  totals_->setText(QString("%1: %2    %3: %4")
                       .arg(qs(trustText::kLogOk)).arg(written)
                       .arg(qs(trustText::kLogFailed)).arg(failed));
  saved_ = new QLabel(savedText);
  saved_->setObjectName("LabelSaved");
  saved_->setWordWrap(true);
  saved_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto *close = new QPushButton(qs(trustText::kClose));
  close->setObjectName("CommandClose");
  close->setDefault(true);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);

  auto *buttons = new QHBoxLayout;
  buttons->addWidget(totals_);
  buttons->addStretch(1);
  buttons->addWidget(close);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(list_, 1);
  layout->addWidget(saved_);
  layout->addLayout(buttons);
  resize(760, 360);
}

QString FrmGroupLog::savedText() const { return saved_->text(); }

}  // namespace n27
