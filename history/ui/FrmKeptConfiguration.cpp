#include "history/ui/FrmKeptConfiguration.h"
#include "base/qt/qt_text.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "base/ui/handler_guard.h"
#include "base/ui/prompter.h"
#include "channels/channel_context.h"
#include "codeplug/configuration.h"
#include "history/history_format.h"
#include "history/ui/history_texts.h"
#include "print/report.h"

namespace n27 {

namespace {
}  // namespace

FrmKeptConfiguration::FrmKeptConfiguration(const history::Entry &entry, std::unique_ptr<Workspace> config,
                                           QWidget *parent)
    : QDialog(parent), config_(std::move(config)) {
  setObjectName("FrmKeptConfiguration");
  setWindowFlag(Qt::Window);
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(qs(Fill(historytext::kKeptTitle, {std::to_string(entry.id), entry.serial})));
  auto *details = new QLabel(qs(history::FormatDetails(entry)));
  details->setObjectName("LabelEntry");
  details->setTextInteractionFlags(Qt::TextSelectableByMouse);
  tree_ = new QTreeWidget;
  tree_->setObjectName("TreeConfiguration");
  tree_->setColumnCount(2);
  tree_->setHeaderHidden(true);
  print::PrintSelection all;
  all.fill(true);
  ChannelContext ctx(*config_);
  for (const print::ReportPage &page : print::BuildReport(ctx, all, 128).pages) {
    auto *section = new QTreeWidgetItem(tree_, {qs(page.caption)});
    for (const print::ReportRow &row : page.rows) {
      if (!row.heading.empty()) new QTreeWidgetItem(section, {qs(row.heading)});
      for (const print::ReportPair &pair : row.pairs) new QTreeWidgetItem(section, {qs(pair.label), qs(pair.value)});
    }
    section->setExpanded(page.item == print::PrintItem::Channel);
  }
  tree_->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  auto *save = new QPushButton(qs(historytext::kSaveAs.get()));
  save->setObjectName("CommandSaveAs");
  auto *close = new QPushButton(qs(historytext::kClose.get()));
  connect(close, &QPushButton::clicked, this, &QDialog::close);
  connect(save, &QPushButton::clicked, this, [this] {
    RunHandler(this, "CommandSaveAs_Click", [this] {
      if (auto path = CurrentPrompter().saveFileName(this, qs(historytext::kDataFilter.get()), "history.dat"))
        saveAs(*path);
    });
  });
  auto *buttons = new QHBoxLayout;
  buttons->addWidget(save);
  buttons->addStretch(1);
  buttons->addWidget(close);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(details);
  layout->addWidget(tree_, 1);
  layout->addLayout(buttons);
  resize(760, 640);
}

bool FrmKeptConfiguration::saveAs(const QString &path) {
  std::string target = path.toStdString();
  if (!path.endsWith(".dat", Qt::CaseInsensitive)) target += ".dat";
  Workspace copy = *config_;
  FileOutcome why;
  if (SaveDataFile(copy, target, &why) != FileStatus::Ok) {
    const std::string reason = why.ok() ? FileStatusText(FileStatus::FileError) : why.reason();
    ShowMessage(this, qs(Fill(historytext::kNotSaved, {target, reason})), BoxIcon::Critical);
    return false;
  }
  ShowMessage(this, qs(Fill(historytext::kSaved, {target})), BoxIcon::Information);
  return true;
}

}  // namespace n27
