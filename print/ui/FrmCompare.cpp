#include "print/ui/FrmCompare.h"
#include "base/qt/qt_text.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "link/ui/radio_commands.h"
#include "base/messages.h"
#include "base/ui/handler_guard.h"
#include "base/ui/prompter.h"
#include "codeplug/configuration.h"
#include "link/qt/serial_port.h"
#include "link/transfer_session.h"
#include "link/ui/FrmPassWord.h"
#include "link/ui/FrmProgress.h"
#include "link/ui/radio_commands.h"

namespace n27 {

namespace {


constexpr const char *kCompareFolderKey = "Settings/CompareFolder";
// The last column's caption until something has been compared (then the file's or radio's name).
constexpr Tr kComparedWith{"Compared with", "比较对象"};
QPointer<FrmCompare> g_compareWindow;

BoxIcon compareBoxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Information: return BoxIcon::Information;
    case MessageIcon::Warning: return BoxIcon::Warning;
    case MessageIcon::Error: return BoxIcon::Critical;
    case MessageIcon::Question: return BoxIcon::Question;
    default: return BoxIcon::None;
  }
}

// Answers a read's questions with the program's windows, the progress window showing.
class CompareReadUi : public TransferUi {
 public:
  explicit CompareReadUi(QWidget *parent) : parent_(parent) {}
  FrmProgress *window = nullptr;
  bool success = false;

  bool askRetry(const std::string &text) override { return Ask(top(), qs(text), Prompt::QuestionOkCancel) == Answer::Ok; }
  void askPassword(std::string &password) override {
    FrmPassWord dialog(password, top());
    ExecDialog(dialog);
  }
  // A comparison never switches to another release.
  bool askSwitchRelease(const std::string &) override { return false; }
  void switchRelease(const std::string &) override {}
  void showMessage(const std::string &text, MessageIcon icon) override { ShowMessage(top(), qs(text), compareBoxIcon(icon)); }
  void progress(int percent) override {
    if (window && window->isVisible()) window->SetProgressValue(percent);
  }
  void finished(bool ok) override {
    success = ok;
    if (window) window->finish(ok);
  }

 private:
  QWidget *top() const { return window && window->isVisible() ? static_cast<QWidget *>(window) : parent_; }
  QWidget *parent_;
};

}  // namespace

FrmCompare::FrmCompare(RadioHost &main) : QDialog(main.hostWidget()), main_(main) {
  setObjectName("FrmCompare");
  setWindowFlag(Qt::Window);
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(qs(print::difftext::kCompareTitle.get()));
  list_ = new QTreeWidget;
  list_->setObjectName("ListDifferences");
  list_->setRootIsDecorated(false);
  list_->setAlternatingRowColors(true);
  list_->setColumnCount(4);
  setHeaders(qs(kComparedWith.get()));
  for (int c = 0; c < 4; ++c) list_->setColumnWidth(c, list_->header()->sectionSizeHint(c) + 24);
  list_->header()->setSectionResizeMode(QHeaderView::Interactive);
  status_ = new QLabel;
  status_->setObjectName("LabelStatus");
  fileButton_ = new QPushButton(qs(print::difftext::kCompareFile.get()));
  fileButton_->setObjectName("CommandFile");
  radioButton_ = new QPushButton(qs(print::difftext::kCompareRadio.get()));
  radioButton_->setObjectName("CommandRadio");
  refreshButton_ = new QPushButton(qs(Text(Tr{"Compare &Again", "重新比较(&A)"})));
  refreshButton_->setObjectName("CommandRefresh");
  auto *close = new QPushButton(qs(Text(Tr{"&Close", "关闭(&C)"})));
  close->setObjectName("CommandClose");
  connect(fileButton_, &QPushButton::clicked, this, [this] { RunHandler(this, "CommandFile_Click", [this] { chooseFile(); }); });
  connect(radioButton_, &QPushButton::clicked, this,
          [this] { RunHandler(this, "CommandRadio_Click", [this] { compareWithRadio(); }); });
  connect(refreshButton_, &QPushButton::clicked, this,
          [this] { RunHandler(this, "CommandRefresh_Click", [this] { refresh(); }); });
  connect(close, &QPushButton::clicked, this, &QDialog::close);

  auto *buttons = new QHBoxLayout;
  buttons->addWidget(fileButton_);
  buttons->addWidget(radioButton_);
  buttons->addWidget(refreshButton_);
  buttons->addStretch(1);
  buttons->addWidget(close);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(list_, 1);
  layout->addWidget(status_);
  layout->addLayout(buttons);
  refreshButton_->setEnabled(false);
  resize(820, 480);
}

void FrmCompare::showDifferences(const Workspace &other, const QString &otherName, print::CompareScope scope) {
  main_.storePendingInput();
  scope_ = scope;
  otherName_ = otherName;
  diffs_ = print::CompareConfigurations(first_ ? *first_ : main_.workspace(), other, scope);
  list_->clear();
  setHeaders(otherName);
  for (const print::Difference &d : diffs_) {
    auto *item = new QTreeWidgetItem(list_, {qs(d.section), qs(d.item), qs(d.first), qs(d.second)});
    if (d.item.empty())  // a channel on one side only
      for (int c = 0; c < 4; ++c) item->setForeground(c, palette().color(QPalette::Link));
  }
  for (int c = 0; c < 4; ++c) {
    list_->resizeColumnToContents(c);
    list_->setColumnWidth(c, list_->columnWidth(c) + 24);
  }
  QString text = diffs_.empty() ? qs(print::difftext::kEqual.get())
                                : qs(print::difftext::kCount.get()).replace("%1", QString::number(diffs_.size()));
  if (scope == print::CompareScope::RadioMemory) text += "  " + qs(print::difftext::kRadioScope.get());
  status_->setText(text);
  setWindowTitle(qs(print::difftext::kCompareTitle.get()) + " - " + otherName);
  refreshButton_->setEnabled(true);
}

void FrmCompare::setHeaders(const QString &other) {
  list_->setHeaderLabels({qs(print::difftext::kSection.get()), qs(print::difftext::kItem.get()),
                          first_ ? firstName_ : qs(print::difftext::kOpenConfiguration.get()), other});
}

bool FrmCompare::compareWithFile(const QString &path) {
  auto other = std::make_unique<Workspace>();
  other->programFolder = main_.workspace().programFolder;
  std::string error;
  bool image = false;
  if (!print::LoadComparable(*other, path.toStdString(), error, &image)) {
    ShowMessage(this, qs(error), BoxIcon::Critical);
    return false;
  }
  other_ = std::move(other);
  showDifferences(*other_, QFileInfo(path).fileName(),
       image ? print::CompareScope::RadioMemory : print::CompareScope::Everything);
  return true;
}

void FrmCompare::refresh() {
  if (other_) showDifferences(*other_, otherName_, scope_);
}

void FrmCompare::setFirst(std::unique_ptr<Workspace> first, const QString &name) {
  first_ = std::move(first);
  firstName_ = name;
}

void FrmCompare::compareWith(std::unique_ptr<Workspace> other, const QString &name, print::CompareScope scope) {
  other_ = std::move(other);
  showDifferences(*other_, name, scope);
}

void FrmCompare::chooseFile() {
  QSettings settings;
  const Workspace &ws = main_.workspace();
  QString folder = settings
                       .value(kCompareFolderKey, ws.untitled ? QDir::homePath()
                                                      : QFileInfo(qs(ws.fileName)).absolutePath())
                       .toString();
  auto chosen = CurrentPrompter().openFileName(this, qs(print::difftext::kFilter.get()), folder);
  if (!chosen) return;
  settings.setValue(kCompareFolderKey, QFileInfo(*chosen).absolutePath());
  compareWithFile(*chosen);
}

void FrmCompare::compareWithRadio() {
  if (reading_ || main_.radio().busy()) return;
  const std::vector<PortEntry> ports = main_.radio().ports();
  const PortEntry *port = FindPort(ports, main_.comPort());
  if (!port) {
    PortProblem problem = main_.comPort() == 0 ? PortProblem::NoPortChosen : PortProblem::Missing;
    ShowMessage(this, qs(PortOpenErrorText(problem, PortName(main_.comPort()))), BoxIcon::Critical);
    return;
  }
  // The radio is read into a configuration of its own; the open one stays as it is.
  auto radio = std::make_unique<Workspace>();
  radio->programFolder = main_.workspace().programFolder;
  radio->testMode = main_.workspace().testMode;
  radio->password = main_.workspace().password;
  NewConfiguration(*radio);
  PrepareRead(*radio);
  CompareReadUi ui(this);
  SerialTransfer line(*radio, main_.versions(), ui);
  PortOpenResult opened = line.openPort(port->device);
  if (!opened.ok) {
    ShowMessage(this, qs(opened.message), BoxIcon::Critical);
    return;
  }
  reading_ = true;
  FrmProgress window(FrmProgress::Kind::Read, [&line] { return line.start(TransferType::Read); }, this);
  ui.window = &window;
  ExecDialog(window);
  ui.window = nullptr;
  line.closePort();
  reading_ = false;
  main_.workspace().password = radio->password;  // a password typed for the radio stays known
  if (!ui.success) return;
  CompleteRead(*radio, line.engine().identification());
  other_ = std::move(radio);
  showDifferences(*other_, qs(Text(print::difftext::kRadio)) + " (" + qs(PortName(port->number)) + ")", print::CompareScope::RadioMemory);
}

void CompareWithCommand(RadioHost &main) {
  main.storePendingInput();
  if (!g_compareWindow) g_compareWindow = new FrmCompare(main);
  g_compareWindow->show();
  g_compareWindow->raise();
  g_compareWindow->activateWindow();
  // The file is asked for at once; the window stays for comparing with the radio instead.
  g_compareWindow->chooseFile();
}

}  // namespace n27
