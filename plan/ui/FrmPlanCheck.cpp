#include "plan/ui/FrmPlanCheck.h"
#include "base/qt/qt_text.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "base/ui/handler_guard.h"
#include "channels/ui/frmCommChInfo.h"
#include "channels/ui/main_window_host.h"
#include "plan/ui/findings_list.h"
#include "plan/ui/plan_commands.h"

namespace n27 {

namespace {

constexpr Tr kPlanCheckTitle{"Check Plan", "检查计划"};
constexpr Tr kNoLicence{"No licence is attached: only the plan rules run. File > Attach Licence… adds the "
                        "customer's licence.",
                        "未附加许可证：只检查计划规则。可用“文件 > 附加许可证…”添加客户的许可证。"};
constexpr Tr kLicence{"Licence: %1 — %2 lines", "许可证：%1 — %2 行"};
constexpr Tr kPlanCheckSkipped{", %1 skipped", "，跳过 %1 行"};
constexpr Tr kLicensee{" — %1", " — %1"};
constexpr Tr kUnsaved{"(kept when the configuration is saved)", "（保存配置时一并保存）"};
constexpr Tr kBadLicence{"Licence: %1 cannot be used: %2", "许可证：%1 无法使用：%2"};
constexpr Tr kAttach{"Attach &Licence...", "附加许可证(&L)..."};
constexpr Tr kHelp{"&Help", "帮助(&H)"};
constexpr Tr kPlanCheckClose{"&Close", "关闭(&C)"};
}  // namespace

FrmPlanCheck::FrmPlanCheck(MainWindowHost &main, QWidget *parent)
    : QWidget(parent), main_(main), ctx_(main.channels()) {
  setObjectName(window::kPlanCheck);
  setWindowTitle(qs(Text(kPlanCheckTitle)));
  licence_ = new QLabel;
  licence_->setObjectName("LabelLicence");
  licence_->setWordWrap(true);
  list_ = new FindingsList;
  summary_ = new QLabel;
  summary_->setObjectName("LabelSummary");
  auto button = [this](const char *name, const Tr &text) {
    auto *b = new QPushButton(qs(Text(text)), this);
    b->setObjectName(name);
    return b;
  };
  QPushButton *attach = button("CommandAttach", kAttach);
  QPushButton *help = button("CommandHelp", kHelp);
  QPushButton *close = button("CommandClose", kPlanCheckClose);
  connect(attach, &QPushButton::clicked, this,
          [this] { RunHandler(this, "CommandAttach_Click", [this] { AttachLicenceCommand(main_); }); });
  connect(help, &QPushButton::clicked, this, [this] { main_.showHelp(kHelpPlanCheck); });
  // The window sits in a sub-window of the main window: closing that closes both.
  connect(close, &QPushButton::clicked, this, [this] { (parentWidget() ? parentWidget() : this)->close(); });
  connect(list_, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
    const int row = list_->indexOfTopLevelItem(item);
    RunHandler(this, "ListFindings_DblClick", [this, row] { openFinding(row); });
  });

  timer_ = new QTimer(this);
  timer_->setSingleShot(true);
  timer_->setInterval(kRecheckDelayMs);
  connect(timer_, &QTimer::timeout, this, [this] { RunHandler(this, "Recheck", [this] { recheck(); }); });

  auto *buttons = new QHBoxLayout;
  buttons->addWidget(attach);
  buttons->addStretch(1);
  buttons->addWidget(help);
  buttons->addWidget(close);
  auto *layout = new QVBoxLayout(this);
  layout->addWidget(licence_);
  layout->addWidget(list_, 1);
  layout->addWidget(summary_);
  layout->addLayout(buttons);
  recheck();
  ctx_.addListener(this);
}

FrmPlanCheck::~FrmPlanCheck() { ctx_.removeListener(this); }

void FrmPlanCheck::scheduleRecheck() {
  if (!timer_->isActive()) timer_->start();
}

const plan::AttachedLicence &FrmPlanCheck::currentLicence() {
  const Workspace &ws = ctx_.ws;
  if (!licenceRead_ || ws.licenceText != licenceText_ || ws.licenceProblem != licenceProblem_ ||
      ws.fileName != licenceFile_) {
    licenceCache_ = plan::WorkspaceLicence(ws);
    licenceText_ = ws.licenceText;
    licenceProblem_ = ws.licenceProblem;
    licenceFile_ = ws.fileName;
    licenceRead_ = true;
  }
  return licenceCache_;
}

void FrmPlanCheck::recheck() {
  timer_->stop();
  ++checks_;
  const plan::AttachedLicence &licence = currentLicence();
  findings_ = plan::CheckPlan(ctx_.ws.working, plan::InputsFor(licence, plan::Today()));
  list_->showFindings(findings_);
  summary_->setText(qs(plan::FindingsSummary(findings_)));
  showLicence();
}

void FrmPlanCheck::showLicence() {
  const plan::AttachedLicence &l = licenceCache_;
  QString text;
  if (!l.attached) {
    text = qs(Text(kNoLicence));
  } else {
    const std::string name = l.name.empty() ? std::string(Text(kUnsaved)) : l.name;
    if (!l.licence) {
      text = qs(Fill(kBadLicence, {name, l.problem}));
    } else {
      std::string t = Fill(kLicence, {name, std::to_string(l.licence->lines.size())});
      if (!l.licence->skipped.empty()) t += Fill(kPlanCheckSkipped, {std::to_string(l.licence->skipped.size())});
      if (const std::string who = l.licence->licensees(); !who.empty()) t += Fill(kLicensee, {who});
      text = qs(t);
    }
  }
  licence_->setText(text);
}

void FrmPlanCheck::openFinding(int row) {
  const PlanFinding *f = list_->findingAt(row);
  if (!f) return;
  const plan::Rule *rule = plan::FindRule(f->rule);
  const plan::RulePlace place = rule ? rule->place : plan::RulePlace::Plan;
  if (place == plan::RulePlace::Scan) {
    main_.openEditor(window::kScanInformation);
  } else if (place == plan::RulePlace::Licence) {
    AttachLicenceCommand(main_);
  } else if (auto *grid = qobject_cast<frmCommChInfo *>(main_.openEditor(window::kChannelGrid)); grid && f->channel > 0) {
    grid->selectRow(f->channel);
  }
}

bool FrmPlanCheck::event(QEvent *event) {
  if (event->type() == QEvent::ShortcutOverride && static_cast<QKeyEvent *>(event)->key() == Qt::Key_F1) {
    event->accept();
    return true;
  }
  return QWidget::event(event);
}

void FrmPlanCheck::keyPressEvent(QKeyEvent *event) {
  if (event->key() == Qt::Key_F1) {
    main_.showHelp(kHelpPlanCheck);
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace n27
