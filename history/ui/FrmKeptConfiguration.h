#pragma once
// A configuration the radio history kept, shown read-only: the entry, then every section of
// the printed report (channels and settings as the editor windows show them). Save As keeps
// it as a data file.

#include <QDialog>
#include <memory>

#include "codeplug/workspace.h"
#include "history/history_entry.h"

class QTreeWidget;

namespace n27 {

class FrmKeptConfiguration : public QDialog {
  Q_OBJECT
 public:
  FrmKeptConfiguration(const history::Entry &entry, std::unique_ptr<Workspace> config, QWidget *parent);
  QTreeWidget *tree() const { return tree_; }
  // Saves the configuration as a data file (with its side file); false (message shown) on failure.
  bool saveAs(const QString &path);

 private:
  std::unique_ptr<Workspace> config_;
  QTreeWidget *tree_;
};

}  // namespace n27
