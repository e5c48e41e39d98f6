#include "plan/ui/FrmPlanReview.h"
#include "base/qt/qt_text.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "plan/plan_gate.h"
#include "plan/ui/findings_list.h"

namespace n27 {

namespace {

constexpr Tr kReviewTitle{"Plan Check Before Writing", "写入前的计划检查"};
constexpr Tr kErrors{"The plan has errors: it would transmit where the customer holds no licence, or is not fit "
                     "for a radio. It is not written unless you say why.",
                     "计划存在错误：会在客户未获许可的频率上发射，或不适合写入对讲机。除非您说明理由，否则不会写入。"};
constexpr Tr kWarnings{"The plan check found warnings. They do not stop the write.",
                       "计划检查发现警告，不影响写入。"};
constexpr Tr kReviewReason{"&Reason for writing despite the errors (kept in the log):", "不顾错误仍写入的理由（记入日志）(&R)："};
constexpr Tr kWriteAnyway{"&Write Anyway", "仍然写入(&W)"};
constexpr Tr kWrite{"&Write", "写入(&W)"};
constexpr Tr kReviewCancel{"&Cancel", "取消(&C)"};
}  // namespace

FrmPlanReview::FrmPlanReview(const std::vector<PlanFinding> &findings, QWidget *parent) : QDialog(parent) {
  setObjectName("FrmPlanReview");
  setWindowTitle(qs(Text(kReviewTitle)));
  errors_ = plan::HasError(findings);
  text_ = new QLabel(qs(Text(errors_ ? kErrors : kWarnings)));
  text_->setObjectName("LabelText");
  text_->setWordWrap(true);
  list_ = new FindingsList;
  list_->showFindings(findings);
  auto *summary = new QLabel(qs(plan::FindingsSummary(findings).c_str()));
  summary->setObjectName("LabelSummary");

  write_ = new QPushButton(qs(Text(errors_ ? kWriteAnyway : kWrite)));
  write_->setObjectName("CommandWrite");
  cancel_ = new QPushButton(qs(Text(kReviewCancel)));
  cancel_->setObjectName("CommandCancel");
  connect(write_, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

  auto *layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  layout->addWidget(list_, 1);
  layout->addWidget(summary);
  if (errors_) {
    auto *label = new QLabel(qs(Text(kReviewReason)));
    reason_ = new QLineEdit;
    reason_->setObjectName("TextReason");
    reason_->setMaxLength(500);
    label->setBuddy(reason_);
    layout->addWidget(label);
    layout->addWidget(reason_);
    connect(reason_, &QLineEdit::textChanged, this, [this] { updateButtons(); });
  }
  auto *buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(write_);
  buttons->addWidget(cancel_);
  layout->addLayout(buttons);
  // Stopping is what Enter does while there are errors; going on needs a deliberate choice.
  (errors_ ? cancel_ : write_)->setDefault(true);
  if (reason_) reason_->setFocus();
  updateButtons();
  resize(760, 420);
}

void FrmPlanReview::updateButtons() {
  write_->setEnabled(!errors_ || plan::IsOverrideReason(reason_->text().toStdString()));
}

std::optional<std::string> FrmPlanReview::goOnWith() const {
  if (!errors_) return std::string();
  const std::string reason = plan::OverrideReasonText(reason_->text().toStdString());
  if (!plan::IsOverrideReason(reason)) return std::nullopt;  // a reason is the condition
  return reason;
}

}  // namespace n27
