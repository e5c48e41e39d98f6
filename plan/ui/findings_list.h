#pragma once
// The list of plan findings the check window and the write's review dialog show: a severity
// icon with its word, the rule, the channel and the message.

#include <QTreeWidget>
#include <vector>

#include "link/job_steps.h"

namespace n27 {

class FindingsList : public QTreeWidget {
  Q_OBJECT

 public:
  explicit FindingsList(QWidget *parent = nullptr);
  // Shows the findings (in their order); the column captions in the current language.
  void showFindings(const std::vector<PlanFinding> &findings);
  // The finding of a row, nullptr for none.
  const PlanFinding *findingAt(int row) const;

 private:
  std::vector<PlanFinding> findings_;
};

}  // namespace n27
