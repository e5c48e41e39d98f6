#include "plan/ui/findings_list.h"
#include "base/qt/qt_text.h"

#include <QApplication>
#include <QHeaderView>
#include <QStyle>

#include "plan/plan_rules.h"

namespace n27 {

namespace {

constexpr Tr kSeverity{"Severity", "级别"};
constexpr Tr kRule{"Rule", "规则"};
constexpr Tr kChannel{"Channel", "信道"};
constexpr Tr kFindingsMessage{"Message", "说明"};
}  // namespace

FindingsList::FindingsList(QWidget *parent) : QTreeWidget(parent) {
  setObjectName("ListFindings");
  setRootIsDecorated(false);
  setAlternatingRowColors(true);
  setUniformRowHeights(true);
  setWordWrap(false);
  setColumnCount(4);
  header()->setStretchLastSection(true);
  header()->setSectionResizeMode(QHeaderView::Interactive);
}

void FindingsList::showFindings(const std::vector<PlanFinding> &findings) {
  findings_ = findings;
  clear();
  setHeaderLabels({qs(Text(kSeverity)), qs(Text(kRule)), qs(Text(kChannel)), qs(Text(kFindingsMessage))});
  const QIcon error = QApplication::style()->standardIcon(QStyle::SP_MessageBoxCritical);
  const QIcon warning = QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
  for (const PlanFinding &f : findings_) {
    auto *item = new QTreeWidgetItem(this, {qs(plan::SeverityText(f.severity)), qs(f.rule),
                                            f.channel > 0 ? QString::number(f.channel) : QString(), qs(f.message)});
    item->setIcon(0, f.severity == FindingSeverity::Error ? error : warning);
    item->setToolTip(3, qs(f.message));
    if (const plan::Rule *r = plan::FindRule(f.rule)) item->setToolTip(1, qs(r->summary.get()));
  }
  for (int c = 0; c < 3; ++c) {
    resizeColumnToContents(c);
    setColumnWidth(c, columnWidth(c) + 16);
  }
}

const PlanFinding *FindingsList::findingAt(int row) const {
  return row >= 0 && row < static_cast<int>(findings_.size()) ? &findings_[row] : nullptr;
}

}  // namespace n27
