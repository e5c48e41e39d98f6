#pragma once
// The review before a write: the findings of the plan check, and — when there is an error —
// a box for the dealer's reason to write anyway. The write button stays disabled until a
// reason is typed; the reason goes into the log with the write.

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "link/job_steps.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace n27 {

class FindingsList;

class FrmPlanReview : public QDialog {
  Q_OBJECT

 public:
  FrmPlanReview(const std::vector<PlanFinding> &findings, QWidget *parent = nullptr);

  // What going on means as the dialog stands: the reason typed when there are errors
  // (nothing while no reason is typed), "" when there are only warnings.
  std::optional<std::string> goOnWith() const;

  bool hasErrors() const { return errors_; }
  QLineEdit *reasonBox() const { return reason_; }
  QPushButton *writeButton() const { return write_; }
  FindingsList *list() const { return list_; }

 private:
  void updateButtons();

  bool errors_ = false;
  FindingsList *list_;
  QLabel *text_;
  QLineEdit *reason_ = nullptr;
  QPushButton *write_;
  QPushButton *cancel_;
};

}  // namespace n27
