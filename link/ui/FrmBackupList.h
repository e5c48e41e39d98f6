#pragma once
// FrmBackupList: the backups to restore from, as a list — date and time, serial number,
// reason, band and channel count, newest first, filtered by serial number — with a button to
// choose an image elsewhere.

#include <QDialog>
#include <vector>

#include "link/backup_list.h"

class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace n27 {

class FrmBackupList : public QDialog {
  Q_OBJECT

 public:
  explicit FrmBackupList(const std::string &folder, QWidget *parent = nullptr);

  // The image chosen (empty when none).
  QString chosenPath() const { return chosen_; }
  QTreeWidget *list() const { return list_; }
  QLineEdit *filter() const { return filter_; }

 private:
  void fill();
  void choose();
  void chooseOtherFile();

  std::string folder_;
  std::vector<BackupEntry> all_;
  std::vector<BackupEntry> shown_;
  QLineEdit *filter_;
  QTreeWidget *list_;
  QPushButton *ok_;
  QString chosen_;
};

}  // namespace n27
