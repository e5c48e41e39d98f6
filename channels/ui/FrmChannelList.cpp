#include "channels/ui/FrmChannelList.h"
#include "base/qt/qt_text.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QVBoxLayout>

#include "channels/ui/main_window_host.h"
#include "base/file_io.h"
#include "base/messages.h"
#include "base/ui/dialog_support.h"
#include "base/ui/prompter.h"

namespace n27 {

namespace {


constexpr const char *kChannelListFolderKey = "Settings/ChannelListFolder";

QString listFolder(const Workspace &ws) {
  QSettings settings;
  QString fallback = ws.untitled ? QDir::homePath()
                                 : QFileInfo(QString::fromStdString(ws.fileName)).absolutePath();
  return settings.value(kChannelListFolderKey, fallback).toString();
}

void rememberListFolder(const QString &path) {
  QSettings settings;
  settings.setValue(kChannelListFolderKey, QFileInfo(path).absolutePath());
}

}  // namespace

FrmImportChannels::FrmImportChannels(const QString &fileName, QWidget *parent) : QDialog(parent) {
  setObjectName("FrmImportChannels");
  setWindowTitle(qs(csv::text::kImportTitle.get()));
  auto *body = new QVBoxLayout;
  auto *file = new QLabel(QFileInfo(fileName).fileName());
  file->setObjectName("LabelFile");
  atLocation_ = new QRadioButton(qs(csv::text::kAtLocation.get()));
  atLocation_->setObjectName("OptionAtLocation");
  atLocation_->setChecked(true);
  append_ = new QRadioButton(qs(csv::text::kAppend.get()));
  append_->setObjectName("OptionAppend");
  replaceAll_ = new QCheckBox(qs(csv::text::kReplaceAll.get()));
  replaceAll_->setObjectName("CheckReplaceAll");
  body->addWidget(file);
  body->addSpacing(6);
  body->addWidget(atLocation_);
  body->addWidget(append_);
  body->addSpacing(6);
  body->addWidget(replaceAll_);
  LayOutDialog(this, body, ButtonNames::OkCancel);
}

csv::ImportOptions FrmImportChannels::options() const {
  csv::ImportOptions o;
  o.placement = append_->isChecked() ? csv::Placement::Append : csv::Placement::AtLocation;
  o.replaceAll = replaceAll_->isChecked();
  return o;
}

FrmImportSummary::FrmImportSummary(const QString &fileName, const csv::ImportReport &report, QWidget *parent)
    : QDialog(parent) {
  setObjectName("FrmImportSummary");
  setWindowTitle(qs(csv::text::kImportTitle.get()) + " - " + QFileInfo(fileName).fileName());
  // The counts on top, the skipped rows (if any) in a list that scrolls.
  auto *layout = new QVBoxLayout(this);
  auto *label = new QLabel(qs(csv::ImportSummaryHead(report)).trimmed());
  label->setObjectName("LabelSummary");
  label->setWordWrap(true);
  layout->addWidget(label);
  if (!report.skipped.empty()) {
    auto *list = new QPlainTextEdit;
    list->setObjectName("TextSkipped");
    list->setReadOnly(true);
    list->setLineWrapMode(QPlainTextEdit::NoWrap);
    QString lines;  // the first rows and a count of the rest: a huge file stays quick to show
    for (const std::string &line : csv::SkippedRowLines(report)) lines += qs(line) + "\n";
    list->setPlainText(lines.trimmed());
    list->setMinimumSize(560, 160);
    layout->addWidget(list);
  }
  auto *buttons = new QDialogButtonBox;
  auto *ok = buttons->addButton(qs(Text(msg::kOk)), QDialogButtonBox::AcceptRole);
  ok->setObjectName("CommandOK");
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
}

void ImportChannelsCommand(MainWindowHost &main) {
  Workspace &ws = main.workspace();
  auto chosen = CurrentPrompter().openFileName(main.hostWidget(), qs(csv::text::kFilter.get()), listFolder(ws));
  if (!chosen) return;
  rememberListFolder(*chosen);
  std::string text, error;
  if (!csv::ReadChannelCsvFile(chosen->toStdString(), text, error) || !csv::IsChannelList(text, error)) {
    ShowMessage(main.hostWidget(), qs(error), BoxIcon::Critical);
    return;
  }
  FrmImportChannels options(*chosen, main.hostWidget());
  if (ExecDialog(options) != QDialog::Accepted) return;
  // A cell still being typed belongs to the configuration before the list arrives.
  main.storePendingInput();
  const csv::ImportReport report = csv::ImportChannelCsv(main.channels(), text, options.options());
  if (!report.ok) {
    ShowMessage(main.hostWidget(), qs(report.error), BoxIcon::Critical);
    return;
  }
  FrmImportSummary summary(*chosen, report, main.hostWidget());
  ExecDialog(summary);
}

void ExportChannelsCommand(MainWindowHost &main) {
  Workspace &ws = main.workspace();
  main.storePendingInput();
  if (ws.working.channelCount == 0) {
    ShowMessage(main.hostWidget(), qs(csv::text::kNoChannelsToExport.get()), BoxIcon::Information);
    return;
  }
  QString proposed = QFileInfo(QString::fromStdString(ws.fileName)).completeBaseName() + ".csv";
  auto chosen = CurrentPrompter().saveFileName(main.hostWidget(), qs(csv::text::kFilter.get()),
                                               QDir(listFolder(ws)).filePath(proposed));
  if (!chosen) return;
  // The save dialog adds ".dat" to a bare name: a channel list is never written over a data
  // file by mistake, it gets ".csv" instead (asking first when that file exists).
  QString path = *chosen;
  QFileInfo info(path);
  if (info.suffix().compare("csv", Qt::CaseInsensitive) != 0) {
    path = info.suffix().compare("dat", Qt::CaseInsensitive) == 0
               ? QDir(info.absolutePath()).filePath(info.completeBaseName() + ".csv")
               : path + ".csv";
    if (QFileInfo::exists(path) &&
        Ask(main.hostWidget(), "\"" + path + "\"" + qs(Text(msg::kOverwrite)), Prompt::QuestionOkCancel) != Answer::Ok)
      return;
  }
  rememberListFolder(path);
  std::vector<std::string> warnings;
  const std::string text = csv::ExportChannelCsv(main.channels(), &warnings);
  if (!WriteFileAtomically(path.toStdString(), text)) {
    ShowMessage(main.hostWidget(), qs(csv::Fill(csv::text::kWriteFailed.get(), {path.toStdString()})), BoxIcon::Critical);
    return;
  }
  int rows = 0;
  for (char c : text) rows += c == '\n';
  QString done = qs(csv::Fill(csv::text::kExported.get(), {std::to_string(rows - 1), path.toStdString()}));
  for (const std::string &w : warnings) done += "\n" + qs(w);
  ShowMessage(main.hostWidget(), done, warnings.empty() ? BoxIcon::Information : BoxIcon::Warning);
}

}  // namespace n27
