#pragma once
// FrmGroupLog: the log of a Write to Group of Radios run, shown at its end: one row per radio
// (number, serial number, time, result) and where the log was saved as CSV.

#include <QDialog>
#include <vector>

#include "link/group_write.h"

class QLabel;
class QTreeWidget;

namespace n27 {

class FrmGroupLog : public QDialog {
  Q_OBJECT

 public:
  // `savedText` says where the CSV was saved (or why not).
  FrmGroupLog(const std::vector<GroupWriteEntry> &entries, const QString &savedText,
              QWidget *parent = nullptr);

  QTreeWidget *list() const { return list_; }
  QString savedText() const;

 private:
  QTreeWidget *list_;
  QLabel *totals_;
  QLabel *saved_;
};

}  // namespace n27
