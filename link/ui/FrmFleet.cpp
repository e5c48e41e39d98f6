#include "link/ui/FrmFleet.h"
#include "base/qt/qt_text.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "base/messages.h"
#include "base/paths.h"
#include "codeplug/configuration.h"
#include "link/transfer_session.h"
#include "base/ui/handler_guard.h"
#include "base/ui/prompter.h"
#include "link/group_write.h"
#include "link/qt/job_line.h"
#include "link/ui/trust_texts.h"
#include "plan/ui/plan_commands.h"

namespace n27 {

namespace {


constexpr Tr kFleetTitle{"Program Several Radios", "同时写入多台对讲机"};
constexpr Tr kConfiguration{"Configuration: %1", "配置：%1"};
constexpr Tr kUntitled{"(not saved)", "（未保存）"};
constexpr Tr kCables{"C&ables (tick two or more):", "线缆(&A)（勾选两条或以上）："};
constexpr Tr kMessages{"&Message lines:", "信息行(&M)："};
constexpr Tr kMessagesHint{"none: every radio gets the configuration's own", "无：每台对讲机使用配置本身的信息行"};
constexpr Tr kCustomer{"C&ustomer or job:", "客户或工单(&U)："};
constexpr Tr kCustomerHint{"kept with every radio's entry in the radio history", "随每台对讲机的记录保存在对讲机历史中"};
constexpr Tr kChoose{"C&hoose...", "选择(&H)..."};
constexpr Tr kMessagesFilter{"Message List (*.csv);;All Files (*)", "信息列表 (*.csv);;所有文件 (*)"};
constexpr Tr kBackup{"&Back up each radio before writing", "写入前备份每台对讲机(&B)"};
constexpr Tr kStart{"&Start", "开始(&S)"};
constexpr Tr kStop{"S&top", "停止(&T)"};
constexpr Tr kStopping{"Finishing the radios being written...", "正在完成写入中的对讲机..."};
constexpr Tr kFleetClose{"&Close", "关闭(&C)"};
constexpr Tr kRetry{"&Retry", "重试(&R)"};
constexpr Tr kPort{"Port", "端口"};
constexpr Tr kState{"State", "状态"};
constexpr Tr kSerial{"Serial Number", "序列号"};
constexpr Tr kProgress{"Progress", "进度"};
constexpr Tr kOutcome{"Outcome", "结果"};
constexpr Tr kNumber{"No.", "序号"};
constexpr Tr kFirmware{"Firmware", "固件"};
constexpr Tr kFleetTime{"Time", "时间"};
constexpr Tr kSteps{"Steps", "步骤"};
constexpr Tr kResult{"Result", "结果"};
constexpr Tr kDetail{"Detail", "详情"};
constexpr Tr kTwoCables{"Tick two or more cables.", "请勾选两条或以上的线缆。"};
constexpr Tr kLogSaved{"The log was saved to %1.", "日志已保存到 %1。"};
constexpr Tr kRunFolder{"Each radio's configuration is kept in %1.", "每台对讲机的配置保存在 %1。"};
constexpr Tr kOtherConfiguration{"Con&figuration...", "配置(&F)..."};
constexpr Tr kDataFilter{"Data File (*.dat);;All Files (*)", "数据文件 (*.dat);;所有文件 (*)"};
constexpr Tr kSummary{"Program Several Radios: %1", "同时写入多台对讲机：%1"};

enum Column { kColPort, kColState, kColSerial, kColProgress, kColOutcome, kColRetry, kColumns };

}  // namespace

FrmFleet::FrmFleet(const Workspace &config, const VersionTable &versions, std::vector<PortEntry> ports,
                   JobOptions job, std::chrono::milliseconds replyTimeout, QWidget *parent)
    : QDialog(parent), config_(config), versions_(versions), ports_(std::move(ports)),
      job_(std::move(job)), replyTimeout_(replyTimeout) {
  setObjectName("FrmFleet");
  setWindowTitle(qs(kFleetTitle));
  config_.history = EditHistory{};

  configuration_ = new QLabel(qs(Fill(kConfiguration, {config_.untitled ? Text(kUntitled) : config_.fileName})));
  configuration_->setObjectName("LabelConfiguration");
  pick_ = new QPushButton(qs(kOtherConfiguration));
  pick_->setObjectName("CommandConfiguration");
  cables_ = new QListWidget;
  cables_->setObjectName("ListCables");
  cables_->setAccessibleName(qs(kCables).remove('&'));
  for (const PortEntry &p : ports_) {
    auto *item = new QListWidgetItem(qs(PortName(p.number) + "  " + p.device), cables_);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
  }
  cables_->setMaximumHeight(110);
  auto *cablesLabel = new QLabel(qs(kCables));
  cablesLabel->setBuddy(cables_);
  messages_ = new QLineEdit;
  messages_->setObjectName("TextMessages");
  messages_->setPlaceholderText(qs(kMessagesHint));
  messages_->setAccessibleName(qs(kMessages).remove('&'));
  auto *messagesLabel = new QLabel(qs(kMessages));
  messagesLabel->setBuddy(messages_);
  customer_ = new QLineEdit(qs(job_.customer));
  customer_->setObjectName("TextCustomer");
  customer_->setMaxLength(trustText::kCustomerMaxLength);
  customer_->setPlaceholderText(qs(kCustomerHint));
  customer_->setAccessibleName(qs(kCustomer).remove('&'));
  auto *customerLabel = new QLabel(qs(kCustomer));
  customerLabel->setBuddy(customer_);
  auto *choose = new QPushButton(qs(kChoose));
  choose->setObjectName("CommandMessages");
  backup_ = new QCheckBox(qs(kBackup));
  backup_->setObjectName("CheckBackup");
  backup_->setChecked(job_.backup);
  start_ = new QPushButton(qs(kStart));
  start_->setObjectName("CommandStart");
  start_->setDefault(true);
  close_ = new QPushButton(qs(kFleetClose));
  close_->setObjectName("CommandClose");

  rows_ = new QTableWidget(0, kColumns);
  rows_->setObjectName("GridCables");
  rows_->setHorizontalHeaderLabels({qs(kPort), qs(kState), qs(kSerial), qs(kProgress), qs(kOutcome), QString()});
  rows_->verticalHeader()->hide();
  rows_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  rows_->setSelectionMode(QAbstractItemView::NoSelection);
  rows_->horizontalHeader()->setSectionResizeMode(kColOutcome, QHeaderView::Stretch);
  total_ = new QLabel;
  total_->setObjectName("LabelTotal");
  remark_ = new QLabel;
  remark_->setObjectName("LabelRemark");
  remark_->setWordWrap(true);
  log_ = new QTreeWidget;
  log_->setObjectName("ListLog");
  log_->setRootIsDecorated(false);
  log_->setHeaderLabels({qs(kNumber), qs(kPort), qs(kSerial), qs(kFirmware), qs(kFleetTime), qs(kSteps),
                         qs(kResult), qs(kDetail)});
  saved_ = new QLabel;
  saved_->setObjectName("LabelSaved");
  saved_->setWordWrap(true);
  saved_->setTextInteractionFlags(Qt::TextSelectableByMouse);

  auto *setup = new QGridLayout;
  setup->addWidget(configuration_, 0, 0, 1, 2);
  setup->addWidget(pick_, 0, 2);
  setup->addWidget(cablesLabel, 1, 0, Qt::AlignTop);
  setup->addWidget(cables_, 1, 1, 1, 2);
  setup->addWidget(messagesLabel, 2, 0);
  setup->addWidget(messages_, 2, 1);
  setup->addWidget(choose, 2, 2);
  setup->addWidget(customerLabel, 3, 0);
  setup->addWidget(customer_, 3, 1, 1, 2);
  setup->addWidget(backup_, 4, 1, 1, 2);
  auto *buttons = new QHBoxLayout;
  buttons->addWidget(total_, 1);
  buttons->addWidget(start_);
  buttons->addWidget(close_);
  auto *layout = new QVBoxLayout(this);
  layout->addLayout(setup);
  layout->addWidget(rows_, 2);
  layout->addLayout(buttons);
  layout->addWidget(remark_);
  layout->addWidget(log_, 3);
  layout->addWidget(saved_);

  connect(start_, &QPushButton::clicked, this, [this] { RunGuarded("FrmFleet_Start", [this] { startOrStop(); }); });
  connect(close_, &QPushButton::clicked, this, &FrmFleet::reject);
  connect(pick_, &QPushButton::clicked, this,
          [this] { RunGuarded("FrmFleet_Configuration", [this] { chooseConfiguration(); }); });
  connect(choose, &QPushButton::clicked, this, [this] { RunGuarded("FrmFleet_Messages", [this] { chooseMessages(); }); });
  resize(900, 620);
}

FrmFleet::~FrmFleet() {
  run_.reset();  // before the lines it uses
}

std::string FrmFleet::customer() const { return customer_->text().simplified().toStdString(); }

QString FrmFleet::totalText() const { return total_->text(); }
QString FrmFleet::savedText() const { return saved_->text(); }
QString FrmFleet::summary() const {
  return run_ ? qs(Fill(kSummary, {run_->totalText()})) + " " + saved_->text() : QString();
}

void FrmFleet::chooseMessages() {
  auto name = CurrentPrompter().openFileName(this, qs(kMessagesFilter), QString());
  if (name) messages_->setText(*name);
}

void FrmFleet::chooseConfiguration() {
  if (run_ && !run_->ended()) return;
  auto name = CurrentPrompter().openFileName(this, qs(kDataFilter), QString());
  if (!name) return;
  Workspace loaded;
  loaded.programFolder = config_.programFolder;
  loaded.testMode = config_.testMode;
  loaded.password = config_.password;
  loaded.loadDefaultFile = false;
  NewConfiguration(loaded);
  FileOutcome why;
  const FileStatus status = LoadDataFile(loaded, name->toStdString(), &why);
  if (status != FileStatus::Ok) {
    ShowMessage(this, qs(std::string(FileStatusText(status)) + (why.ok() ? "" : "\n" + why.reason())), BoxIcon::Critical);
    return;
  }
  if (!WriteAllowed(loaded)) {
    ShowMessage(this, qs(msg::kNothingToWrite), BoxIcon::None);
    return;
  }
  loaded.history = EditHistory{};
  config_ = std::move(loaded);
  job_.dataFile = config_.fileName;
  licence_ = plan::FindAttachedLicence(config_.fileName);
  configuration_->setText(qs(Fill(kConfiguration, {config_.fileName})));
}

void FrmFleet::startOrStop() {
  if (run_ && !run_->ended()) {
    run_->stop();
    if (!run_->ended()) remark_->setText(qs(kStopping));
    return;
  }
  begin();
}

void FrmFleet::begin() {
  std::vector<PortEntry> chosen;
  for (int i = 0; i < cables_->count(); ++i)
    if (cables_->item(i)->checkState() == Qt::Checked) chosen.push_back(ports_[static_cast<std::size_t>(i)]);
  if (chosen.size() < 2) {
    ShowMessage(this, qs(kTwoCables), BoxIcon::Warning);
    return;
  }
  FleetOptions options;
  if (!messages_->text().trimmed().isEmpty()) {
    std::string error;
    options.messages = MessageList::Load(messages_->text().trimmed().toStdString(), error);
    if (!options.messages) {
      ShowMessage(this, qs(error), BoxIcon::Critical);
      return;
    }
  }
  // The plan is checked once at Start; each radio's job checks it again with its own lines and
  // the same reason.
  auto gate = std::make_unique<plan::RulesGate>(licence_);
  const std::optional<std::string> reason = ReviewPlanBeforeWrite(gate->check(config_.working).findings, this);
  if (!reason) return;
  gate->setOverrideReason(*reason);
  options.job = job_;
  options.job.gate = gate.get();
  options.job.customer = customer();
  options.job.operation = JobOperation::Fleet;
  options.job.backup = backup_->isChecked();
  options.job.verify = true;
  started_ = std::time(nullptr);
  options.runFolder = FleetRunFolder(job_.dataFile, started_);

  run_.reset();
  gate_ = std::move(gate);
  lines_.clear();
  std::vector<CableLine *> cables;
  for (const PortEntry &p : chosen) {
    lines_.push_back(std::make_unique<SerialJobLine>(p.device, versions_, PortName(p.number)));
    lines_.back()->setReplyTimeout(replyTimeout_);
    cables.push_back(lines_.back().get());
  }
  rows_->setRowCount(static_cast<int>(chosen.size()));
  for (int r = 0; r < rows_->rowCount(); ++r) {
    for (int c = 0; c < kColumns; ++c) rows_->setItem(r, c, new QTableWidgetItem);
    auto *bar = new QProgressBar;
    bar->setRange(0, 100);
    bar->setAccessibleName(qs(kProgress));
    rows_->setCellWidget(r, kColProgress, bar);
    auto *retry = new QPushButton(qs(kRetry));
    retry->setObjectName("CommandRetry" + QString::number(r));
    retry->setEnabled(false);
    connect(retry, &QPushButton::clicked, this, [this, r] {
      RunGuarded("FrmFleet_Retry", [this, r] {
        if (run_) run_->retry(r);
      });
    });
    rows_->setCellWidget(r, kColRetry, retry);
  }
  log_->clear();
  saved_->setText(qs(Fill(kRunFolder, {options.runFolder})));
  remark_->clear();
  run_ = std::make_unique<FleetRun>(cables, static_cast<FleetListener &>(*this), config_, std::move(options));
  setRunning(true);
  for (int r = 0; r < rows_->rowCount(); ++r) cableChanged(r);
  run_->start();
  showTotal();
}

void FrmFleet::setRunning(bool running) {
  start_->setText(qs(running ? kStop : kStart));
  cables_->setEnabled(!running);
  pick_->setEnabled(!running);
  messages_->setEnabled(!running);
  customer_->setEnabled(!running);
  backup_->setEnabled(!running);
  close_->setEnabled(!running);
}

void FrmFleet::cableChanged(int cable) {
  if (!run_ || cable >= rows_->rowCount()) return;
  const CableView &v = run_->cable(cable);
  rows_->item(cable, kColPort)->setText(qs(v.port));
  rows_->item(cable, kColState)->setText(qs(CableStateText(v.state)));
  rows_->item(cable, kColSerial)->setText(qs(v.serial));
  rows_->item(cable, kColOutcome)->setText(qs(v.outcome));
  rows_->item(cable, kColOutcome)->setToolTip(qs(v.outcome));
  const QColor ink = v.state == CableState::Failed ? QColor(0xB0, 0, 0)
                     : v.state == CableState::Done ? QColor(0, 0x70, 0)
                                                   : palette().color(QPalette::Text);
  rows_->item(cable, kColState)->setForeground(ink);
  if (auto *bar = qobject_cast<QProgressBar *>(rows_->cellWidget(cable, kColProgress))) bar->setValue(v.percent);
  if (auto *retry = qobject_cast<QPushButton *>(rows_->cellWidget(cable, kColRetry)))
    retry->setEnabled(v.canRetry && !run_->stopping());
  showTotal();
}

void FrmFleet::radioEnded(int, const FleetLogEntry &e) {
  const char *result = e.outcome == JobOutcome::Done          ? "OK"
                       : e.outcome == JobOutcome::AlreadyDone ? "ALREADY DONE"
                                                              : "FAILED";
  std::string steps;
  for (const StepTime &s : e.steps) {
    char t[16];
    std::snprintf(t, sizeof t, " %.1f s", s.seconds);
    steps += (steps.empty() ? "" : "; ") + JobStepName(s.step) + t;
  }
  auto *item = new QTreeWidgetItem(log_, {QString::number(e.number), qs(e.port), qs(e.serial), qs(e.firmware),
                                          qs(LocalTimeText(e.time)), qs(steps), result, qs(e.detail.text())});
  if (e.outcome == JobOutcome::Failed)
    for (int c = 0; c < log_->columnCount(); ++c) item->setForeground(c, QColor(0xB0, 0, 0));
  log_->scrollToItem(item);
  for (int c = 0; c + 1 < log_->columnCount(); ++c) log_->resizeColumnToContents(c);
  saveLog();
}

void FrmFleet::remark(int cable, const std::string &text) {
  remark_->setText(qs(run_->cable(cable).port + ": " + text));
}

void FrmFleet::runEnded() {
  setRunning(false);
  remark_->clear();
  saveLog();
  showTotal();
  if (closeWhenEnded_) QDialog::reject();
}

void FrmFleet::saveLog() {
  if (!run_ || run_->log().empty()) return;
  const GroupLogSave saved = SaveRunLog(FleetLogCsv(run_->log()), job_.dataFile, started_, "fleet");
  std::string text;
  for (const std::string &problem : saved.problems) text += problem + "\n";
  if (saved.ok) text += Fill(kLogSaved, {saved.path});
  saved_->setText(qs(text));
}

void FrmFleet::showTotal() {
  if (run_) total_->setText(qs(run_->totalText()));
}

void FrmFleet::closeEvent(QCloseEvent *event) {
  if (run_ && !run_->ended()) {
    event->ignore();
    reject();
    return;
  }
  QDialog::closeEvent(event);
}

void FrmFleet::reject() {
  if (run_ && !run_->ended()) {
    // The radios being written are finished first; the window closes then (runEnded).
    closeWhenEnded_ = true;
    run_->stop();
    if (!run_->ended()) remark_->setText(qs(kStopping));
    return;
  }
  QDialog::reject();
}

}  // namespace n27
